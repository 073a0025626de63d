#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "platform/ui/event_loop.h"
#include "platform/ui/timer_queue.h"

namespace vt::headless {

// An event loop on a virtual clock that tests advance: a whole 210-second run
// takes milliseconds. Modal dialogs are scripted: a test queues what the
// operator does in the next dialog before it opens.
class HeadlessEventLoop : public EventLoop {
public:
    using ModalScript = std::function<void(Form& dialog)>;

    std::int64_t nowMs() const override { return nowMs_; }
    void timerChanged(Timer& timer) override;
    // Runs the next queued script on the dialog; the script must close it.
    void runModal(Form& dialog) override;
    // Runs the clock until the main form unloads; throws when nothing is left
    // to fire or a day of virtual time has passed. Tasks posted run at the
    // time they were posted, before the next tick.
    void run(Form& main) override;

    // Moves the clock on, firing every timer that falls due, in order, each
    // task posted before or by a tick run right after it, and at the end.
    // Nothing sleeps here, so a post needs no wake-up: it runs at the next
    // advance or run.
    void advanceMs(std::int64_t milliseconds);
    void advance(double seconds) { advanceMs(static_cast<std::int64_t>(seconds * 1000.0)); }
    // The time a handler's own work takes (typing a step): the clock moves on
    // and nothing fires meanwhile, as on the one thread of a real loop; a
    // tick that fell due meanwhile fires late at the next advance.
    void spendMs(std::int64_t milliseconds);

    // Whether any timer of any form is running.
    bool timersRunning() const { return timers_.nextDueMs().has_value(); }

    void onNextModal(ModalScript script) { modalScripts_.push_back(std::move(script)); }
    std::size_t pendingModalScripts() const { return modalScripts_.size(); }

private:
    // Upper bound of run(), so a test that never ends fails instead of hanging.
    static constexpr std::int64_t kRunLimitMs = 24LL * 3600 * 1000;

    // Moves the clock to the tick due at dueMs and fires it.
    void fireAt(std::int64_t dueMs);

    std::int64_t nowMs_ = 0;
    TimerQueue timers_;
    std::deque<ModalScript> modalScripts_;
};

} // namespace vt::headless
