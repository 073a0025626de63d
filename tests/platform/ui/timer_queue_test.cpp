#include "platform/ui/timer_queue.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_event_loop.h"
#include "platform/headless/memory_store.h"
#include "platform/headless/null_views.h"
#include "platform/link/console_link.h"
#include "platform/services.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt {
namespace {

using headless::HeadlessEventLoop;
using headless::MemoryStore;
using headless::NullViewFactory;

class NoConsole : public ConsoleLink {
public:
    std::unique_ptr<KeySender> activate(const std::string&) override { return nullptr; }
};

// Timers need a live form; the queue is driven by hand, not by this loop.
struct TimerQueueTest : ::testing::Test {
    HeadlessEventLoop loop;
    MemoryStore store;
    NoConsole console;
    NullViewFactory views;
    Services services{loop, store, console, views, [] { return std::string("test"); }};
    Form form{services, "F", "F", WindowStyle{}};
    Timer ten{form, "TEN"};
    Timer sixty{form, "SIXTY"};
    TimerQueue queue;

    void SetUp() override
    {
        form.load();
        ten.setInterval(10000);
        sixty.setInterval(60000);
    }
    void start(Timer& timer, std::int64_t nowMs)
    {
        timer.setEnabled(true);
        queue.changed(timer, nowMs + timer.interval());
    }
};

TEST_F(TimerQueueTest, NothingRunningNothingDue)
{
    EXPECT_FALSE(queue.nextDueMs());
    EXPECT_EQ(queue.takeDue(1000000), nullptr);
}

TEST_F(TimerQueueTest, DueOneIntervalAfterStart)
{
    start(ten, 500);
    EXPECT_EQ(queue.nextDueMs(), 10500);
    EXPECT_EQ(queue.takeDue(10499), nullptr);
    EXPECT_EQ(queue.takeDue(10500), &ten);
    EXPECT_EQ(queue.nextDueMs(), 20500);
}

// A late tick does not shift the next; ticks missed while the process was
// stopped fire once, and the timer stays on its grid.
TEST_F(TimerQueueTest, LateAndMissedTicksStayOnTheGrid)
{
    start(ten, 0);
    EXPECT_EQ(queue.takeDue(10300), &ten);
    EXPECT_EQ(queue.nextDueMs(), 20000);
    EXPECT_EQ(queue.takeDue(35000), &ten);
    EXPECT_EQ(queue.takeDue(35000), nullptr);
    EXPECT_EQ(queue.nextDueMs(), 40000);
}

TEST_F(TimerQueueTest, EarliestFirstAndStartOrderOnATie)
{
    start(sixty, 0);
    start(ten, 50000);
    EXPECT_EQ(queue.takeDue(60000), &sixty);
    EXPECT_EQ(queue.takeDue(60000), &ten);
    EXPECT_EQ(queue.takeDue(60000), nullptr);
}

TEST_F(TimerQueueTest, StoppedTimerIsForgottenAndRestartCountsFromThen)
{
    start(ten, 0);
    ten.setEnabled(false);
    queue.changed(ten, 14000);
    EXPECT_FALSE(queue.nextDueMs());
    start(ten, 7000);
    EXPECT_EQ(queue.nextDueMs(), 17000);
}

// Where a timer started from a tick's handler counts from, on the loop's
// virtual clock, with handlers that take time as on a real loop: TEN's
// handler spends its time, starts SIXTY and stops itself, as a run's steps do.
struct TimerStartedByATick : TimerQueueTest {
    std::vector<std::int64_t> sixtyTicksMs;

    void tenSpends(std::int64_t spendMs, const std::function<void()>& startSixty)
    {
        sixty.onTimer = [this] { sixtyTicksMs.push_back(loop.nowMs()); };
        ten.onTimer = [this, spendMs, startSixty] {
            loop.spendMs(spendMs);
            startSixty();
            ten.setEnabled(false);
        };
        ten.setEnabled(true);
    }
};

TEST_F(TimerStartedByATick, CountsFromNowWhenTheTickCameLaterThanItsFirstDue)
{
    tenSpends(65000, [this] { sixty.setEnabled(true); });
    loop.advance(140);
    EXPECT_EQ(sixtyTicksMs, (std::vector<std::int64_t>{135000}));
}

// A click handled inside a tick's handler (in a dialog the tick opened) is
// not the tick: what it starts counts from the click.
TEST_F(TimerStartedByATick, ByAnotherEventInsideTheTicksHandlerCountsFromNow)
{
    tenSpends(3000, [this] { loop.dispatch("F.START_Click", [this] { sixty.setEnabled(true); }); });
    loop.advance(80);
    EXPECT_EQ(sixtyTicksMs, (std::vector<std::int64_t>{73000}));
}

} // namespace
} // namespace vt
