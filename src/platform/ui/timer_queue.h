#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vt {

class Timer;

// When each running timer ticks next, on a clock in milliseconds. Ticks stay
// on the grid set when the timer was started: a late tick does not push the
// next one back, and ticks missed while the process was stopped are dropped,
// not fired in a burst.
class TimerQueue {
public:
    // Counts the timer afresh, first due at firstDueMs, if it is running;
    // forgets it otherwise.
    void changed(Timer& timer, std::int64_t firstDueMs);
    // The earliest due time, if any timer runs.
    std::optional<std::int64_t> nextDueMs() const;
    // The timer due first by nowMs (the one started first on a tie), already
    // moved on to its next tick after nowMs; null when none is due.
    Timer* takeDue(std::int64_t nowMs);

private:
    struct Entry {
        Timer* timer;
        std::int64_t dueMs;
        std::uint64_t order;
    };
    std::vector<Entry> entries_;
    std::uint64_t nextOrder_ = 0;
};

} // namespace vt
