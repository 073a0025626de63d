// Reading a console back as the helper does: rows read again and again while
// the output goes on, a full buffer scrolling under the reader, long lines
// wrapping; every row the output adds is handed on once, and the answer is
// spotted in it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/link/console_read_back.h"

namespace vt::win32 {
namespace {

// A console screen buffer: fixed rows of a fixed width, a cursor, and the
// scrolling of a full buffer.
class Screen {
public:
    Screen(int width, int height) : width_(width), rows_(static_cast<std::size_t>(height), blank()) {}

    // Writes text where the cursor is, wrapping at the width; a whole line
    // ends with a new row.
    void write(const std::string& text, bool endLine = true)
    {
        for (const char c : text) {
            std::string& row = rows_[static_cast<std::size_t>(cursor_)];
            row[static_cast<std::size_t>(column_++)] = c;
            if (column_ == width_)
                newRow();
        }
        if (endLine && (column_ > 0 || text.empty()))
            newRow();
    }
    void print(const std::string& line) { write(line); }
    int cursor() const { return cursor_; }
    std::vector<std::string> rows(int first, int end) const { return {rows_.begin() + first, rows_.begin() + end}; }
    std::string padded(const std::string& text) const { return text + std::string(width_ - text.size(), ' '); }

private:
    std::string blank() const { return std::string(static_cast<std::size_t>(width_), ' '); }
    void newRow()
    {
        column_ = 0;
        if (cursor_ + 1 < static_cast<int>(rows_.size())) {
            ++cursor_;
            return;
        }
        rows_.erase(rows_.begin());
        rows_.push_back(blank());
    }

    int width_;
    std::vector<std::string> rows_;
    int cursor_ = 0;
    int column_ = 0;
};

// As the helper reads: the rows above the cursor when the watch begins, then
// the rows asked for at each read.
class Reader {
public:
    explicit Reader(const Screen& screen)
        : screen_(screen), tracker_(screen.cursor(), screen.rows(std::max(0, screen.cursor() - 5), screen.cursor()))
    {
    }
    void read()
    {
        const int cursor = screen_.cursor();
        const int first = tracker_.firstRowToRead(cursor);
        for (std::string& row : tracker_.update(first, screen_.rows(first, cursor), cursor))
            handed.push_back(std::move(row));
    }
    std::vector<std::string> handed;

private:
    const Screen& screen_;
    RowTracker tracker_;
};

std::string logLine(int n)
{
    return "[12:00:" + std::to_string(10 + n) + " INFO]: line " + std::to_string(n);
}

TEST(ConsoleReadBackTest, EveryRowAfterTheStartIsHandedOnOnceAsTheBufferScrolls)
{
    for (const int height : {8, 40}) {
        Screen screen(40, height);
        for (int n = 0; n < 5; ++n)
            screen.print(logLine(n)); // before the watch: never handed on
        Reader reader(screen);
        std::vector<std::string> expected;
        int n = 5;
        // Bursts of 0 to 11 lines between reads: several scroll the whole
        // 8-row buffer by more than its height's worth of context.
        for (const int burst : {0, 1, 3, 0, 2, 6, 1, 1, 4, 2, 5, 3}) {
            for (int i = 0; i < burst; ++i, ++n) {
                screen.print(logLine(n));
                expected.push_back(screen.padded(logLine(n)));
            }
            reader.read();
        }
        EXPECT_EQ(reader.handed, expected) << "height " << height;
    }
}

// The line being written (the cursor's row) is handed on only once the
// cursor has left it.
TEST(ConsoleReadBackTest, TheCursorsRowWaits)
{
    Screen screen(40, 10);
    screen.print("Done (1.042s)!");
    Reader reader(screen);
    reader.read();
    EXPECT_TRUE(reader.handed.empty());
    screen.print("say hello");
    reader.read();
    EXPECT_EQ(reader.handed, std::vector<std::string>{screen.padded("say hello")});
}

TEST(ConsoleReadBackTest, TheAnswerIsSpottedOnceEvenWhenItsLineWraps)
{
    Screen screen(30, 6);
    screen.print("Done (1.042s)!");
    Reader reader(screen);
    AnswerSpotter spotter({StepExpectation::Kind::Say, "§cThe server restarts in 3 minutes, be ready"});
    std::vector<ConsoleSighting> seen;
    const auto readAndSpot = [&] {
        const std::size_t before = reader.handed.size();
        reader.read();
        const std::vector<std::string> fresh(reader.handed.begin() + static_cast<std::ptrdiff_t>(before),
                                             reader.handed.end());
        for (const ConsoleSighting sighting : spotter.add(fresh))
            seen.push_back(sighting);
    };
    screen.print("say §cThe server restarts in 3 minutes, be ready");
    readAndSpot();
    EXPECT_TRUE(seen.empty()); // the echo is no answer
    // 30 columns: the rows break after "The " and "minutes, ", on blanks.
    screen.write("[12:00:00 INFO]: [Server] The server restarts in 3 ", false);
    readAndSpot();
    EXPECT_TRUE(seen.empty()); // half a line is no answer
    screen.write("minutes, be ready");
    readAndSpot();
    EXPECT_EQ(seen, std::vector<ConsoleSighting>{ConsoleSighting::Answered});
    screen.print("[12:00:01 INFO]: [Server] The server restarts in 3 minutes, be ready");
    readAndSpot();
    EXPECT_EQ(seen.size(), 1u);
}

TEST(ConsoleReadBackTest, ARestartWithoutItsScriptIsSpotted)
{
    AnswerSpotter restart({StepExpectation::Kind::Restart, ""});
    EXPECT_TRUE(restart.add({"[12:00:00 INFO]: Stopping the server"}).empty());
    EXPECT_EQ(restart.add({"[12:00:00 INFO]: Startup script './start.sh' does not e", "xist! Stopping server.   "}),
              std::vector<ConsoleSighting>{ConsoleSighting::NoRestartScript});
    AnswerSpotter say({StepExpectation::Kind::Say, "hello"});
    EXPECT_TRUE(say.add({"[12:00:00 INFO]: Startup script './start.sh' does not exist! Stopping server."}).empty());
    EXPECT_TRUE(say.add({"[12:00:00 INFO]: [Server] hello there"}).empty());
}

// A watch that begins at 5000 ms: quick while the keys go in, then slow;
// quick again after rows (the echo) for as long as a server takes to
// answer, and a later row never shortens that.
TEST(ConsoleReadBackTest, TheConsoleIsReadQuicklyWhileAnAnswerIsLikeliest)
{
    ReadPace pace(5000);
    EXPECT_EQ(pace.waitMs(5000), ReadPace::kQuickReadEveryMs);
    EXPECT_EQ(pace.waitMs(5999), ReadPace::kQuickReadEveryMs);
    EXPECT_EQ(pace.waitMs(6000), ReadPace::kReadEveryMs);
    EXPECT_EQ(pace.waitMs(60000), ReadPace::kReadEveryMs);

    pace.rowsAdded(7000);
    EXPECT_EQ(pace.waitMs(7000), ReadPace::kQuickReadEveryMs);
    EXPECT_EQ(pace.waitMs(7199), ReadPace::kQuickReadEveryMs) << "a server ticking every 50 ms has answered by now";
    EXPECT_EQ(pace.waitMs(7200), ReadPace::kReadEveryMs);

    ReadPace early(5000);
    early.rowsAdded(5100);
    EXPECT_EQ(early.waitMs(5900), ReadPace::kQuickReadEveryMs) << "rows during the start keep its quick reads";
}

} // namespace
} // namespace vt::win32
