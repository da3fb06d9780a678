#pragma once
// Work that may take long (opening or turning a very large picture). Where a window is
// up, its runner keeps the window painted while the work runs on a worker thread,
// shows the progress in the status line and stops the work when the person presses
// Escape; without one (command line, core tests) the work simply runs here.
#include <functional>
#include <string>

namespace platform {

struct LongTask {
    std::string what;                // "Opening big.bmp", shown with the percentage
    std::function<int()> progress;   // 0..100, read from the user-interface thread
    std::function<void()> cancel;    // asks the work to stop; called on that thread
};

class LongTaskRunner {
public:
    virtual ~LongTaskRunner() = default;
    // Returns when work has returned or thrown; what it threw, on whichever thread it
    // ran, is thrown again here. work must not touch the windows.
    virtual void Run(const LongTask& task, const std::function<void()>& work) = 0;
};

// Runs work through the runner in force. Whatever the work or the runner throws (a
// refused allocation deep in a decoder included) is caught and comes back as a message
// for the person, so a job that fails leaves the caller's data as it was; empty when
// the work returned.
[[nodiscard]] std::string RunLongTask(const LongTask& task, const std::function<void()>& work);

// The message for the exception being handled: "not enough memory" for a refused
// allocation, the exception's own text for others.
std::string CurrentExceptionMessage();

// Installs a runner for the lifetime of this object (nested installs restore the
// previous one).
class ScopedLongTaskRunner {
public:
    explicit ScopedLongTaskRunner(LongTaskRunner* runner);
    ~ScopedLongTaskRunner();
    ScopedLongTaskRunner(const ScopedLongTaskRunner&) = delete;
    ScopedLongTaskRunner& operator=(const ScopedLongTaskRunner&) = delete;

private:
    LongTaskRunner* saved_;
};

}  // namespace platform
