#include "platform/headless/headless_event_loop.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt::headless {

void HeadlessEventLoop::timerChanged(Timer& timer)
{
    timers_.changed(timer, firstDueMs(timer));
}

void HeadlessEventLoop::runModal(Form& dialog)
{
    if (modalScripts_.empty())
        throw std::logic_error("a dialog opened with no modal script queued: " + dialog.name());
    ModalScript script = std::move(modalScripts_.front());
    modalScripts_.pop_front();
    script(dialog);
    if (!dialog.isUnloaded())
        throw std::logic_error("the modal script left the dialog open: " + dialog.name());
}

void HeadlessEventLoop::run(Form& main)
{
    const std::int64_t limit = nowMs_ + kRunLimitMs;
    runPosted();
    while (!main.isUnloaded()) {
        const std::optional<std::int64_t> due = timers_.nextDueMs();
        if (!due || *due > limit)
            throw std::logic_error("the main window never unloaded: nothing left to fire");
        fireAt(*due);
        runPosted();
    }
}

void HeadlessEventLoop::advanceMs(std::int64_t milliseconds)
{
    const std::int64_t target = nowMs_ + milliseconds;
    // What was posted meanwhile runs at the time it was posted, before any later tick.
    runPosted();
    for (auto due = timers_.nextDueMs(); due && *due <= target; due = timers_.nextDueMs()) {
        fireAt(*due);
        runPosted();
    }
    // A handler may have spent the clock past the target.
    nowMs_ = std::max(nowMs_, target);
}

void HeadlessEventLoop::spendMs(std::int64_t milliseconds)
{
    nowMs_ += milliseconds;
}

// The clock stands exactly on the tick, so the queue moves the timer on by
// one interval: the next tick is due one interval after this one was, not
// after the handler ran, and the timer does not drift.
void HeadlessEventLoop::fireAt(std::int64_t dueMs)
{
    nowMs_ = std::max(nowMs_, dueMs);
    Timer* timer = timers_.takeDue(nowMs_);
    if (timer->onTimer)
        dispatchTick(*timer, dueMs, timer->onTimer);
}

} // namespace vt::headless
