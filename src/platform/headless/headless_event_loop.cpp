#include "platform/headless/headless_event_loop.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt::headless {

void HeadlessEventLoop::timerChanged(Timer& timer)
{
    std::erase_if(scheduled_, [&timer](const Scheduled& entry) { return entry.timer == &timer; });
    if (timer.running())
        scheduled_.push_back({&timer, nowMs_ + timer.interval(), nextOrder_++});
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
    while (!main.isUnloaded()) {
        Scheduled* next = nextDueBy(limit);
        if (!next)
            throw std::logic_error("the main window never unloaded: nothing left to fire");
        nowMs_ = next->dueMs;
        fire(*next);
    }
}

void HeadlessEventLoop::advanceMs(std::int64_t milliseconds)
{
    const std::int64_t target = nowMs_ + milliseconds;
    while (Scheduled* next = nextDueBy(target)) {
        nowMs_ = next->dueMs;
        fire(*next);
    }
    nowMs_ = target;
}

HeadlessEventLoop::Scheduled* HeadlessEventLoop::nextDueBy(std::int64_t limitMs)
{
    Scheduled* best = nullptr;
    for (Scheduled& entry : scheduled_) {
        if (entry.dueMs > limitMs)
            continue;
        if (!best || entry.dueMs < best->dueMs || (entry.dueMs == best->dueMs && entry.order < best->order))
            best = &entry;
    }
    return best;
}

void HeadlessEventLoop::fire(Scheduled& entry)
{
    Timer* timer = entry.timer;
    // The next tick is due one interval after this one was, not after the
    // handler ran, so the timer does not drift.
    entry.dueMs += timer->interval();
    entry.order = nextOrder_++;
    if (timer->onTimer)
        dispatch(timer->form().name() + "." + timer->name() + "_Timer", timer->onTimer);
}

} // namespace vt::headless
