#include "platform/LongTask.h"

#include <exception>
#include <new>

namespace platform {
namespace {

LongTaskRunner*& Current() {
    static LongTaskRunner* runner = nullptr;
    return runner;
}

}  // namespace

std::string RunLongTask(const LongTask& task, const std::function<void()>& work) {
    try {
        if (Current() != nullptr)
            Current()->Run(task, work);
        else
            work();
    } catch (...) {
        return CurrentExceptionMessage();
    }
    return {};
}

std::string CurrentExceptionMessage() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "not enough memory";
    } catch (const std::exception& e) {
        // what() is written for developers and may be empty: it follows in brackets.
        const std::string text = e.what() != nullptr ? e.what() : "";
        return text.empty() ? "an unexpected error" : "an unexpected error (" + text + ")";
    } catch (...) {
        return "an unexpected error";
    }
}

ScopedLongTaskRunner::ScopedLongTaskRunner(LongTaskRunner* runner) : saved_(Current()) { Current() = runner; }

ScopedLongTaskRunner::~ScopedLongTaskRunner() { Current() = saved_; }

}  // namespace platform
