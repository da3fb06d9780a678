#include "platform/widgets/QtLongTask.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

namespace platform {
namespace {

// Swallows the person's input while the work runs; Escape cancels it.
class InputGate : public QObject {
public:
    explicit InputGate(std::function<void()> cancel) : cancel_(std::move(cancel)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && cancel_) cancel_();
            return true;
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::Close:
            e->ignore();
            return true;
        default: return false;
        }
    }

private:
    std::function<void()> cancel_;
};

}  // namespace

void QtLongTaskRunner::Run(const LongTask& task, const std::function<void()>& work) {
    if (busy_) {  // never two at once: a nested request runs where it is
        work();
        return;
    }
    QEventLoop loop;
    std::atomic<bool> done{false};
    InputGate gate(task.cancel);
    // Undone however this returns: also when the worker thread cannot be started.
    struct Busy {
        QtLongTaskRunner& runner;
        InputGate& gate;
        Busy(QtLongTaskRunner& r, InputGate& g) : runner(r), gate(g) {
            runner.busy_ = true;
            QCoreApplication::instance()->installEventFilter(&gate);
        }
        ~Busy() {
            QCoreApplication::instance()->removeEventFilter(&gate);
            if (runner.status_ != nullptr) runner.status_->clearMessage();
            runner.busy_ = false;
        }
    } busy(*this, gate);
    auto show = [this, &task] {
        if (status_ == nullptr) return;
        const int percent = task.progress ? task.progress() : 0;
        status_->showMessage(QString::fromStdString(task.what) + QString("... %1%   (Esc cancels)").arg(percent));
    };
    show();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        show();
        if (done.load()) loop.quit();
    });
    ticker.start(50);
    // An exception must not leave the worker (that ends the program): it is carried
    // back and thrown again here, where the caller can turn it into a message.
    std::exception_ptr thrown;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            thrown = std::current_exception();
        }
        done.store(true);
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    while (!done.load()) loop.exec();
    worker.join();
    if (thrown) std::rethrow_exception(thrown);
}

}  // namespace platform
