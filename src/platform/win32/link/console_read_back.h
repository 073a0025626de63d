#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/link/console_watch.h"

namespace vt::win32 {

// The console helper's side of reading a console back: the rows of its
// screen buffer, read again and again, each row that the cursor has left
// handed on once. A full buffer scrolls: its rows move up under the
// reader, which follows them by the rows it read last.
class RowTracker {
public:
    // cursorRow: the cursor's row when the watch began, before the keys;
    // rowsAbove: the rows just above it, the last one at cursorRow - 1.
    RowTracker(int cursorRow, std::vector<std::string> rowsAbove);

    // The first row to read next, up to the cursor's row: far enough up to
    // find the rows read last after the buffer scrolled.
    int firstRowToRead(int cursorRow) const;

    // rows: the buffer's rows from firstRow up to (not including) the
    // cursor's row, each a whole row of the buffer's width. Returns those
    // not handed on before, in order.
    std::vector<std::string> update(int firstRow, const std::vector<std::string>& rows, int cursorRow);

private:
    int shiftSinceLastRead(int firstRow, const std::vector<std::string>& rows) const;

    int next_;                        // the first row not handed on
    std::vector<std::string> recent_; // the rows just above next_, as read
};

// How long the helper waits before it reads the console's rows again: every
// kReadEveryMs, and every kQuickReadEveryMs while an answer is likeliest:
// in the watch's first kQuickAtStartMs, when the keys go in, and for
// kQuickAfterRowsMs after the output added rows (the echo of the keys), as a
// server answers within a tick or two of reading a command (Spigot takes
// console commands once a tick, every 50 ms). Nothing under Wine tells of a
// change to read instead, and a read costs well under a millisecond of
// CPU. Windows' default timer ticks every 15.6 ms, so there the quick
// reads come that often; Wine sleeps as asked.
class ReadPace {
public:
    static constexpr unsigned kReadEveryMs = 20;
    static constexpr unsigned kQuickReadEveryMs = 2;
    static constexpr std::uint64_t kQuickAtStartMs = 1000;
    static constexpr std::uint64_t kQuickAfterRowsMs = 200;

    explicit ReadPace(std::uint64_t startMs) : quickUntil_(startMs + kQuickAtStartMs) {}

    void rowsAdded(std::uint64_t nowMs) { quickUntil_ = std::max(quickUntil_, nowMs + kQuickAfterRowsMs); }
    unsigned waitMs(std::uint64_t nowMs) const { return nowMs < quickUntil_ ? kQuickReadEveryMs : kReadEveryMs; }

private:
    std::uint64_t quickUntil_;
};

// The program's side: spots the step's answer among the rows read back.
// A long line wraps over several rows of the buffer's width; joined again
// they give the line (with the blanks that pad its last row).
class AnswerSpotter {
public:
    explicit AnswerSpotter(StepExpectation expected) : expected_(std::move(expected)) {}

    // Rows in the order the console shows them; returns what they show,
    // each sighting once over the spotter's life.
    std::vector<ConsoleSighting> add(const std::vector<std::string>& rows);

private:
    bool shows(const std::string& line) const;

    StepExpectation expected_;
    std::deque<std::string> earlier_; // the rows a line may have wrapped from
    bool seen_ = false;
};

} // namespace vt::win32
