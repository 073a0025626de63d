#include "platform/posix/posix_event_loop.h"

#include <chrono>
#include <csignal>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/headless/memory_store.h"
#include "platform/headless/null_views.h"
#include "platform/link/console_link.h"
#include "platform/services.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

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
        EXPECT_GE(ticksAt[i], due) << "tick " << i << " came early";
        // Generous for a loaded machine: this checks that the real clock and
        // poll() are used, the grid itself is TimerQueue's business.
        EXPECT_LT(ticksAt[i], due + 150) << "tick " << i << " came late";
    }
}

TEST_F(PosixEventLoopTest, SigtermClosesTheMainFormAsItsCloseBoxAndTheOldHandlerComesBack)
{
    timer.setInterval(20);
    timer.onTimer = [] { std::raise(SIGTERM); };
    timer.setEnabled(true);
    loop.run(main);
    EXPECT_TRUE(main.isUnloaded());
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
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
        tick.onTimer = [signal] { std::raise(signal); };
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

TEST_F(PosixEventLoopTest, DialogCannotBeShownAndIsUnloaded)
{
    Form dialog{services, "DIALOG", "DIALOG", WindowStyle{}};
    dialog.load();
    EXPECT_THROW(loop.runModal(dialog), Failure);
    EXPECT_TRUE(dialog.isUnloaded());
}

} // namespace
} // namespace vt::posix
