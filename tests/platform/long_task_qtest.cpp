// Long work on the window's worker thread: whatever it throws, even after it has done
// its part, becomes a message and the document keeps the picture it had.
#include <QtTest>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "app/CommandIds.h"
#include "app/LyraApp.h"
#include "app/LyraDoc.h"
#include "image/LbImage.h"
#include "platform/Services.h"
#include "platform/widgets/QtLongTask.h"

namespace {

// The window's runner, with the work followed by a throw on the same worker thread.
struct ThrowAfterWork : platform::LongTaskRunner {
    platform::QtLongTaskRunner window{nullptr};
    std::function<void()> toss;
    void Run(const platform::LongTask& task, const std::function<void()>& work) override {
        window.Run(task, [&] {
            work();
            toss();
        });
    }
};

}  // namespace

class LongTaskTest : public QObject {
    Q_OBJECT
private slots:
    void whatLongWorkThrowsBecomesAMessage() {
        platform::ScriptedServices ui;
        CLyraApp app;
        CLyraDoc& doc = app.Document();
        const std::string dir = LYRA_TEST_TMP "/longtask", old = dir + "/old.bmp", other = dir + "/other.bmp";
        std::filesystem::create_directories(dir);
        for (auto [path, width] : {std::pair{old, 40u}, std::pair{other, 50u}}) {
            LbImage picture(width, 30, 24);
            picture.Clear(0x80);
            QVERIFY(picture.Save(path, LB_FORMAT_BMP));
        }
        QVERIFY(doc.OnOpenDocument(old));
        ThrowAfterWork runner;
        platform::ScopedLongTaskRunner scope(&runner);
        const struct {
            int command;  // 0: open other.bmp
            std::function<void()> toss;
            std::string message;
        } cases[] = {
            {0, [] { throw std::bad_alloc(); }, "\"other.bmp\" cannot be opened: not enough memory."},
            {0, [] { throw 42; }, "\"other.bmp\" cannot be opened: an unexpected error."},
            {cmd::RotateLeft, [] { throw std::bad_alloc(); }, "The picture cannot be turned: not enough memory."},
            {cmd::RotateRight, [] { throw std::runtime_error("disk gone"); },
             "The picture cannot be turned: an unexpected error (disk gone)."},
        };
        for (const auto& c : cases) {
            runner.toss = c.toss;
            ui.prompts.shown.clear();
            ui.status.texts.clear();
            if (c.command == 0)
                QVERIFY(!doc.OnOpenDocument(other));
            else
                doc.RunCommand(c.command);
            const std::string said = c.command != 0       ? (ui.status.texts.empty() ? "" : ui.status.texts.back())
                                     : ui.prompts.shown.empty() ? ""
                                                                : ui.prompts.shown.back().text;
            QCOMPARE(said, c.message);
            QCOMPARE(doc.LogoPath(), old);
            QVERIFY(doc.SourceImage());
            QCOMPARE(doc.SourceImage()->GetWidth(), 40u);
            QVERIFY(!doc.HasUnsavedChanges(DataKind::Logo));
        }
    }
};

QTEST_MAIN(LongTaskTest)
#include "long_task_qtest.moc"
