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
        queue.changed(timer, nowMs);
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

TEST_F(TimerQueueTest, LateTickDoesNotShiftTheNext)
{
    start(ten, 0);
    EXPECT_EQ(queue.takeDue(10300), &ten);
    EXPECT_EQ(queue.nextDueMs(), 20000);
}

TEST_F(TimerQueueTest, TicksMissedWhileStoppedFireOnceAndStayOnTheGrid)
{
    start(ten, 0);
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
    queue.changed(ten, 4000);
    EXPECT_FALSE(queue.nextDueMs());
    start(ten, 7000);
    EXPECT_EQ(queue.nextDueMs(), 17000);
}

} // namespace
} // namespace vt
