#include "platform/ui/timer_queue.h"

#include <algorithm>

#include "platform/ui/controls.h"

namespace vt {

void TimerQueue::changed(Timer& timer, std::int64_t firstDueMs)
{
    std::erase_if(entries_, [&timer](const Entry& entry) { return entry.timer == &timer; });
    if (timer.running())
        entries_.push_back({&timer, firstDueMs, nextOrder_++});
}

std::optional<std::int64_t> TimerQueue::nextDueMs() const
{
    std::optional<std::int64_t> next;
    for (const Entry& entry : entries_) {
        if (!next || entry.dueMs < *next)
            next = entry.dueMs;
    }
    return next;
}

Timer* TimerQueue::takeDue(std::int64_t nowMs)
{
    Entry* best = nullptr;
    for (Entry& entry : entries_) {
        if (entry.dueMs > nowMs)
            continue;
        if (!best || entry.dueMs < best->dueMs || (entry.dueMs == best->dueMs && entry.order < best->order))
            best = &entry;
    }
    if (!best)
        return nullptr;
    const std::int64_t interval = std::max(1, best->timer->interval());
    // Skip whole intervals the process missed, keeping the grid.
    const std::int64_t missed = (nowMs - best->dueMs) / interval;
    best->dueMs += (missed + 1) * interval;
    best->order = nextOrder_++;
    return best->timer;
}

} // namespace vt
