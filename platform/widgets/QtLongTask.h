#pragma once
// The window's runner of long work: a worker thread for the work, a local event loop
// for the window meanwhile. Input other than Escape is held back while it runs, so
// nothing the work reads can change under it; Escape asks the work to stop. What the
// work throws is carried back from its thread and thrown again to the caller.
#include <QPointer>
#include <QStatusBar>

#include "platform/LongTask.h"

namespace platform {

class QtLongTaskRunner : public LongTaskRunner {
public:
    explicit QtLongTaskRunner(QStatusBar* status) : status_(status) {}
    void Run(const LongTask& task, const std::function<void()>& work) override;

private:
    QPointer<QStatusBar> status_;
    bool busy_ = false;  // a task is running
};

}  // namespace platform
