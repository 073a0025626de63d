#include "platform/posix/posix_event_loop.h"

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/headless/memory_store.h"
#include "platform/headless/null_views.h"
#include "platform/link/console_link.h"
#include "platform/services.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "support/post_from_thread.h"

namespace vt::posix {
namespace {

using headless::MemoryStore;
using headless::NullViewFactory;

class NoConsole : public ConsoleLink {
public:
    std::unique_ptr<KeySender> activate(const std::string&) override { return nullptr; }
};

struct PosixEventLoopTest : ::testing::Test {
    PosixEventLoop loop;
    MemoryStore store;
    NoConsole console;
    NullViewFactory views;
    Services services{loop, store, console, views, [] { return std::string("test"); }};
    Form main{services, "MAIN", "MAIN", WindowStyle{}};
    Timer timer{main, "TICK"};
    std::vector<std::int64_t> ticksAt;

    void SetUp() override { main.show(); }
};

TEST_F(PosixEventLoopTest, TimerTicksOnItsGridInRealTimeUntilTheFormUnloads)
{
    timer.setInterval(40);
    timer.onTimer = [this] {
        ticksAt.push_back(loop.nowMs());
        if (ticksAt.size() == 5)
            main.unload();
    };
    const std::int64_t start = loop.nowMs();
    timer.setEnabled(true);
    loop.run(main);
    ASSERT_EQ(ticksAt.size(), 5u);
    for (std::size_t i = 0; i < ticksAt.size(); ++i) {
        const std::int64_t due = start + 40 * static_cast<std::int64_t>(i + 1);
        // Never early shows the real clock at work; how late a loaded machine
        // makes a tick is no promise (the grid is TimerQueue's business).
        EXPECT_GE(ticksAt[i], due) << "tick " << i << " came early";
    }
}

TEST_F(PosixEventLoopTest, SigintClosesTooLongBeforeTheNextTick)
{
    Timer later{main, "LATER"};
    later.setInterval(60000);
    later.setEnabled(true);
    timer.setInterval(10);
    timer.onTimer = [this] {
        timer.setEnabled(false);
        std::raise(SIGINT);
    };
    timer.setEnabled(true);
    const std::int64_t start = loop.nowMs();
    loop.run(main);
    EXPECT_TRUE(main.isUnloaded());
    EXPECT_LT(loop.nowMs() - start, 5000);
}

// A form that notes which signal asked it to close.
struct NotingForm : Form {
    using Form::Form;
    bool closeRequested(const std::string& why) override
    {
        cause = why;
        return close();
    }
    std::string cause;
};

// SIGHUP (the terminal closed) asks the form to close as SIGINT and SIGTERM
// do, rather than killing the program before it stores its settings.
TEST_F(PosixEventLoopTest, EachClosingSignalIsNamedToTheForm)
{
    const std::pair<int, const char*> signals[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
    for (const auto& [signal, name] : signals) {
        NotingForm form{services, "FORM", "FORM", WindowStyle{}};
        Timer tick{form, "TICK"};
        form.show();
        tick.setInterval(10);
        tick.onTimer = [number = signal] { std::raise(number); };
        tick.setEnabled(true);
        loop.run(form);
        EXPECT_TRUE(form.isUnloaded()) << name;
        EXPECT_EQ(form.cause, name);
        struct sigaction now {};
        sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << name;
    }
}

// Nothing but a timer can start a handler without windows: once none runs,
// waiting on would never end.
TEST_F(PosixEventLoopTest, LastTimerStoppingClosesTheMainForm)
{
    timer.setInterval(10);
    timer.onTimer = [this] {
        ticksAt.push_back(loop.nowMs());
        timer.setEnabled(false);
    };
    timer.setEnabled(true);
    loop.run(main);
    EXPECT_TRUE(main.isUnloaded());
    EXPECT_EQ(ticksAt.size(), 1u);
}

// A step that takes time to type starts the next step's timer counted from
// when the step was due, so the next step fires before a reference timer due
// a little after that (counted from the end of the typing, it would fire
// after it). Order, not lateness, so a loaded machine does not matter.
TEST_F(PosixEventLoopTest, TimerStartedByASlowTickCountsFromWhenTheTickWasDue)
{
    Timer next{main, "NEXT"};
    Timer reference{main, "REFERENCE"};
    std::vector<std::string> fired;
    timer.setInterval(100);
    timer.onTimer = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        next.setEnabled(true);
        timer.setEnabled(false);
    };
    next.setInterval(1000);
    next.onTimer = [&] {
        fired.push_back("next step");
        next.setEnabled(false);
    };
    reference.setInterval(1200);
    reference.onTimer = [&] {
        fired.push_back("reference");
        main.unload();
    };
    timer.setEnabled(true);
    reference.setEnabled(true);
    loop.run(main);
    EXPECT_EQ(fired, (std::vector<std::string>{"next step", "reference"}));
}

TEST_F(PosixEventLoopTest, DialogCannotBeShownAndIsUnloaded)
{
    Form dialog{services, "DIALOG", "DIALOG", WindowStyle{}};
    dialog.load();
    EXPECT_THROW(loop.runModal(dialog), Failure);
    EXPECT_TRUE(dialog.isUnloaded());
}

// A task posted from another thread (a watch on the server's console) runs
// on the loop's thread as soon as it is posted, not at the next tick.
TEST_F(PosixEventLoopTest, APostFromAnotherThreadWakesTheLoop)
{
    timer.setInterval(60000);
    timer.onTimer = [this] { main.unload(); };
    timer.setEnabled(true);
    bool ranOnLoopThread = false;
    {
        testing::PostFromAnotherThread poster(loop, [&] { main.unload(); });
        loop.run(main);
        ranOnLoopThread = poster.ranOnThisThread();
    }
    EXPECT_TRUE(ranOnLoopThread) << "the posted task did not end the run; the 60 s tick did";
}

} // namespace
} // namespace vt::posix
