#include "platform/win32/link/console_read_back.h"

#include <algorithm>

#include "platform/link/console_answer.h"

namespace vt::win32 {

namespace {

// Rows compared to find where the last read ones went: a timestamped log
// line seldom repeats, three in a row hardly ever.
constexpr std::size_t kContextRows = 3;
// How far the buffer may scroll between two reads (at most 20 ms apart) and
// still be followed.
constexpr int kMaxScroll = 200;
// How many rows one line may wrap over: a say line of a few hundred
// characters on an 80-column console.
constexpr std::size_t kWrapRows = 8;

std::vector<std::string> lastRows(std::vector<std::string> rows)
{
    if (rows.size() > kContextRows)
        rows.erase(rows.begin(), rows.end() - static_cast<std::ptrdiff_t>(kContextRows));
    return rows;
}

} // namespace

RowTracker::RowTracker(int cursorRow, std::vector<std::string> rowsAbove)
    : next_(cursorRow), recent_(lastRows(std::move(rowsAbove)))
{
}

int RowTracker::firstRowToRead(int cursorRow) const
{
    const int top = std::min(next_, cursorRow) - static_cast<int>(recent_.size()) - kMaxScroll;
    return std::max(0, top);
}

// By how many rows the buffer scrolled since the last read: where the rows
// read last are now. -1 when they are not among the rows given (it
// scrolled further, or was cleared).
int RowTracker::shiftSinceLastRead(int firstRow, const std::vector<std::string>& rows) const
{
    const int count = static_cast<int>(recent_.size());
    const int end = firstRow + static_cast<int>(rows.size());
    for (int shift = 0; next_ - count - shift >= firstRow; ++shift) {
        const int top = next_ - count - shift;
        if (top + count > end)
            continue;
        if (std::equal(recent_.begin(), recent_.end(), rows.begin() + (top - firstRow)))
            return shift;
    }
    // Scrolled so far that some of them left the top of the buffer: the
    // rest are its first rows.
    if (firstRow != 0)
        return -1;
    for (int gone = 1; gone < count; ++gone) {
        const int kept = count - gone;
        if (kept <= static_cast<int>(rows.size()) && std::equal(recent_.begin() + gone, recent_.end(), rows.begin()))
            return next_ - kept;
    }
    return -1;
}

std::vector<std::string> RowTracker::update(int firstRow, const std::vector<std::string>& rows, int cursorRow)
{
    const int shift = shiftSinceLastRead(firstRow, rows);
    const int start = std::max(firstRow, shift < 0 ? firstRow : next_ - shift);
    const int end = std::min(cursorRow, firstRow + static_cast<int>(rows.size()));
    std::vector<std::string> fresh;
    for (int row = start; row < end; ++row)
        fresh.push_back(rows[static_cast<std::size_t>(row - firstRow)]);
    if (end > start || shift >= 0) {
        next_ = std::max(end, start);
        const int contextTop = std::max(firstRow, next_ - static_cast<int>(kContextRows));
        recent_.assign(rows.begin() + (contextTop - firstRow), rows.begin() + (next_ - firstRow));
    }
    return fresh;
}

bool AnswerSpotter::shows(const std::string& line) const
{
    switch (expected_.kind) {
    case StepExpectation::Kind::Say:
        return answersSay(line, expected_.answer);
    case StepExpectation::Kind::Restart:
        return reportsNoRestartScript(line);
    case StepExpectation::Kind::Stop:
        break;
    }
    return false;
}

std::vector<ConsoleSighting> AnswerSpotter::add(const std::vector<std::string>& rows)
{
    std::vector<ConsoleSighting> sightings;
    for (const std::string& row : rows) {
        // The row alone, then with the rows before it: the line that ends
        // here may have begun on one of them.
        std::string line = row;
        bool found = shows(line);
        for (auto earlier = earlier_.rbegin(); !found && earlier != earlier_.rend(); ++earlier) {
            line = *earlier + line;
            found = shows(line);
        }
        if (found && !seen_) {
            seen_ = true;
            sightings.push_back(expected_.kind == StepExpectation::Kind::Say ? ConsoleSighting::Answered
                                                                             : ConsoleSighting::NoRestartScript);
        }
        earlier_.push_back(row);
        if (earlier_.size() > kWrapRows)
            earlier_.pop_front();
    }
    return sightings;
}

} // namespace vt::win32
