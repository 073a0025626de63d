#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
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
    // (see firstDueMs) if it is running, forget it otherwise. Called by Timer only.
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

    // Runs task on this loop's thread, as an event named step of its own, as
    // soon as the loop is free. Safe to call from any thread: this is how what
    // is seen elsewhere (a watch on the server's console) reaches the forms.
    void post(std::string step, std::function<void()> task);

    Reports& reports() { return reports_; }
    const Reports& reports() const { return reports_; }

protected:
    // Runs a timer tick's handler as dispatch() does. A timer that handler
    // starts counts from dueMs, when the tick was due, rather than from when
    // the handler got to it: the time a step spends typing does not push the
    // rest of a run back, so a run's steps stay on the times set at START.
    void dispatchTick(const Timer& timer, std::int64_t dueMs, const std::function<void()>& handler);

    // When a timer started now is first due: one interval after now, or,
    // from a tick's handler, one interval after that tick was due. A tick so
    // late that this has already passed (the process was stopped) counts
    // from now instead: no timer starts already due, to fire at once.
    std::int64_t firstDueMs(const Timer& timer) const;

    // Runs every task posted so far, in order, each as dispatch() does. A loop
    // calls it when woken, and before it sleeps.
    void runPosted();

    // Wakes the loop's thread from another thread, so that it calls
    // runPosted() soon. A loop that sleeps must override it.
    virtual void wake() {}

private:
    struct Posted {
        std::string step;
        std::function<void()> task;
    };

    void runHandler(const std::string& step, const std::function<void()>& handler,
                    std::optional<std::int64_t> tickDueMs);

    Reports reports_;
    // The due time of the tick whose handler runs now; none while any other
    // event's handler runs (a click in a dialog the tick opened).
    std::optional<std::int64_t> tickDueMs_;
    std::mutex postedMutex_;
    std::deque<Posted> posted_;
};

} // namespace vt
