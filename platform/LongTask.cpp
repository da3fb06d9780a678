#include "platform/LongTask.h"

namespace platform {
namespace {

LongTaskRunner*& Current() {
    static LongTaskRunner* runner = nullptr;
    return runner;
}

}  // namespace

void RunLongTask(const LongTask& task, const std::function<void()>& work) {
    if (Current() != nullptr)
        Current()->Run(task, work);
    else
        work();
}

ScopedLongTaskRunner::ScopedLongTaskRunner(LongTaskRunner* runner) : saved_(Current()) { Current() = runner; }

ScopedLongTaskRunner::~ScopedLongTaskRunner() { Current() = saved_; }

}  // namespace platform
