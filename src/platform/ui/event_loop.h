#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/reports.h"

namespace vt {

class Form;
class Timer;

// The one user-interface thread's loop: the clock, the timers, modal dialogs,
// and the dispatch of every event to its handler.
class EventLoop {
public:
    virtual ~EventLoop() = default;

    // Milliseconds on this loop's clock.
    virtual std::int64_t nowMs() const = 0;

    // A timer was enabled or disabled, or its interval changed: count afresh
    // from now if it is running, forget it otherwise. Called by Timer only.
    virtual void timerChanged(Timer& timer) = 0;

    // Runs until the dialog has unloaded. The owner's input stays blocked (the
    // form sees to that); every timer keeps firing.
    virtual void runModal(Form& dialog) = 0;

    // Runs until the main form has unloaded.
    virtual void run(Form& main) = 0;

    // Runs one event's handler. A Failure, or any other std::exception, that
    // escapes it ends the handler there and is reported; what ran stays
    // done, and the program goes on.
    void dispatch(const std::string& step, const std::function<void()>& handler);

    Reports& reports() { return reports_; }
    const Reports& reports() const { return reports_; }

private:
    Reports reports_;
};

} // namespace vt
