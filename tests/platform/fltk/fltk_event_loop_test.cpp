// The FLTK loop's timers, modal runs and failure reports. FLTK's timeouts
// need no display, so these run headless; they assert order and counts, and
// that no tick comes early, never how late one is (that is a benchmark).
#include "platform/fltk/fltk_event_loop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/failures.h"
#include "platform/headless/headless_console.h"
#include "platform/headless/memory_store.h"
#include "platform/headless/null_views.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "support/post_from_thread.h"

namespace vt {
namespace {

using fltk::FltkEventLoop;
using headless::HeadlessConsole;
using headless::MemoryStore;
using headless::NullViewFactory;

// FLTK rounds its clock to the microsecond and ours to the millisecond.
constexpr std::int64_t kClockSlackMs = 2;

class TimerForm : public Form {
public:
    TimerForm(Services& services, std::string name) : Form(services, std::move(name), "timers", WindowStyle{}) {}
    Timer first{*this, "FIRST"};
    Timer second{*this, "SECOND"};
};

class FltkEventLoopTest : public ::testing::Test {
protected:
    FltkEventLoop loop;
    MemoryStore store;
    HeadlessConsole console{[this] { return loop.nowMs(); }};
    NullViewFactory views;
    Services services{loop, store, console, views, [] { return std::string("test"); }};
    TimerForm main{services, "MAIN"};

    void SetUp() override
    {
        loop.reports().writeLine = [](const std::string&) {};
        main.show();
    }

    // Every test ends its run itself; a stopper keeps a broken one bounded.
    void runWithin(int limitMs)
    {
        stoppers_.push_back(std::make_unique<Timer>(main, "STOPPER"));
        Timer& stopper = *stoppers_.back();
        stopper.setInterval(limitMs);
        stopper.onTimer = [this] {
            stopped_ = true;
            main.unload();
        };
        stopper.setEnabled(true);
        loop.run(main);
        EXPECT_FALSE(stopped_) << "the run did not end by itself within " << limitMs << " ms";
    }

private:
    std::vector<std::unique_ptr<Timer>> stoppers_;
    bool stopped_ = false;
};

TEST_F(FltkEventLoopTest, TimerTicksOnceEachIntervalCountedFromEnabling)
{
    std::vector<std::int64_t> ticks;
    main.first.setInterval(20);
    const std::int64_t enabledAt = loop.nowMs();
    main.first.onTimer = [&] {
        ticks.push_back(loop.nowMs() - enabledAt);
        if (ticks.size() == 8)
            main.unload();
    };
    main.first.setEnabled(true);
    runWithin(5000);
    ASSERT_EQ(ticks.size(), 8u);
    for (std::size_t k = 0; k < ticks.size(); ++k)
        EXPECT_GE(ticks[k], static_cast<std::int64_t>(20 * (k + 1)) - kClockSlackMs) << "tick " << k;
}

// A step that takes time to type starts the next step's timer, counted from
// when the step was due: the next step fires before a reference timer due a
// little after that, whereas counted from the end of the typing it would
// fire after it. Order, not lateness, so a loaded machine does not matter.
TEST_F(FltkEventLoopTest, TimerStartedByASlowTickCountsFromWhenTheTickWasDue)
{
    std::vector<std::string> fired;
    const std::int64_t start = loop.nowMs();
    std::int64_t nextStepAt = 0;
    main.first.setInterval(100);
    main.first.onTimer = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        main.second.setEnabled(true);
        main.first.setEnabled(false);
    };
    main.second.setInterval(1000);
    main.second.onTimer = [&] {
        nextStepAt = loop.nowMs() - start;
        fired.push_back("next step");
        main.second.setEnabled(false);
    };
    Timer reference{main, "REFERENCE"};
    reference.setInterval(1200);
    reference.onTimer = [&] {
        fired.push_back("reference");
        main.unload();
    };
    main.first.setEnabled(true);
    reference.setEnabled(true);
    runWithin(5000);
    EXPECT_EQ(fired, (std::vector<std::string>{"next step", "reference"}));
    EXPECT_GE(nextStepAt, 1100 - kClockSlackMs) << "the next step came early";
}

TEST_F(FltkEventLoopTest, DisablingInsideTheHandlerStopsTheTimerAtOnce)
{
    int firstTicks = 0;
    main.first.setInterval(10);
    main.first.onTimer = [&] {
        ++firstTicks;
        main.first.setEnabled(false);
    };
    main.second.setInterval(120);
    main.second.onTimer = [&] { main.unload(); };
    main.first.setEnabled(true);
    main.second.setEnabled(true);
    runWithin(5000);
    EXPECT_EQ(firstTicks, 1);
}

// Changed in SECOND's first tick, FIRST counts afresh from when that tick
// was due (40 ms after SECOND was enabled), as every timer a tick starts.
TEST_F(FltkEventLoopTest, ChangingTheIntervalCountsAfreshAndZeroNeverFires)
{
    std::vector<std::int64_t> ticks;
    main.first.setInterval(0);
    main.first.onTimer = [&] { ticks.push_back(loop.nowMs()); };
    main.first.setEnabled(true);
    bool changed = false;
    main.second.setInterval(40);
    main.second.onTimer = [&] {
        if (!changed) {
            // Interval 0 has not fired; now give it one.
            EXPECT_TRUE(ticks.empty());
            changed = true;
            main.first.setInterval(30);
            return;
        }
        if (!ticks.empty())
            main.unload();
    };
    const std::int64_t secondEnabledAt = loop.nowMs();
    main.second.setEnabled(true);
    runWithin(5000);
    ASSERT_FALSE(ticks.empty());
    EXPECT_GE(ticks.front() - secondEnabledAt, 40 + 30 - kClockSlackMs);
}

TEST_F(FltkEventLoopTest, ModalRunReturnsWhenTheDialogUnloadsWhileTheOwnersTimersFire)
{
    TimerForm dialog(services, "DIALOG");
    int ownerTicks = 0;
    main.first.setInterval(10);
    main.first.onTimer = [&] {
        if (++ownerTicks < 5)
            return;
        // Stopped too: ticks already due would still fire before the modal
        // run returns on a loaded machine.
        main.first.setEnabled(false);
        dialog.unload();
    };
    main.first.setEnabled(true);
    bool returned = false;
    main.second.setInterval(1);
    main.second.onTimer = [&] {
        main.second.setEnabled(false);
        dialog.showModal(main); // blocks until the owner's timer unloads it
        returned = true;
        main.unload();
    };
    main.second.setEnabled(true);
    runWithin(5000);
    EXPECT_TRUE(returned);
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_EQ(ownerTicks, 5);
}

TEST_F(FltkEventLoopTest, FailingHandlerIsReportedAndItsTimerGoesOn)
{
    int ticks = 0;
    main.first.setInterval(10);
    main.first.onTimer = [&] {
        if (++ticks == 3)
            main.unload();
        else if (ticks == 1)
            throw ConsoleNotFound("no window titled 'X' was found");
    };
    main.first.setEnabled(true);
    runWithin(5000);
    EXPECT_EQ(ticks, 3);
    ASSERT_EQ(loop.reports().history().size(), 1u);
    EXPECT_EQ(loop.reports().history()[0].step, "MAIN.FIRST_Timer");
    // The next tick of the same step succeeded, which clears the report.
    EXPECT_FALSE(loop.reports().current().has_value());
}

TEST_F(FltkEventLoopTest, UnloadingTheFormStopsItsTimers)
{
    TimerForm other(services, "OTHER");
    other.show();
    int otherTicks = 0;
    other.first.setInterval(5);
    other.first.onTimer = [&] {
        ++otherTicks;
        other.unload();
    };
    other.first.setEnabled(true);
    main.first.setInterval(100);
    main.first.onTimer = [&] { main.unload(); };
    main.first.setEnabled(true);
    runWithin(5000);
    EXPECT_EQ(otherTicks, 1);
}

TEST_F(FltkEventLoopTest, LaterRunsItsWorkOnceAfterTheDelay)
{
    std::vector<std::int64_t> runs;
    const std::int64_t askedAt = loop.nowMs();
    loop.later(25, [&] { runs.push_back(loop.nowMs() - askedAt); });
    loop.later(60, [&] { main.unload(); });
    runWithin(5000);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_GE(runs[0], 25 - kClockSlackMs);
}

// A task posted from another thread runs on the loop's thread, woken from
// its wait: nothing else would wake it for a minute.
TEST_F(FltkEventLoopTest, APostFromAnotherThreadWakesTheLoop)
{
    main.first.setInterval(60000);
    main.first.setEnabled(true);
    bool ranOnLoopThread = false;
    {
        testing::PostFromAnotherThread poster(loop, [&] { main.unload(); });
        runWithin(30000);
        ranOnLoopThread = poster.ranOnThisThread();
    }
    EXPECT_TRUE(ranOnLoopThread);
}

} // namespace
} // namespace vt
