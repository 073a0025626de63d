// The program where nobody can click: only a stored AutoStart tick gives it
// something to do.
#include <algorithm>

#include <gmock/gmock.h>

#include "app/program.h"
#include "support/program_fixture.h"

namespace vt::testing {
namespace {

using ::testing::ElementsAre;

class UnattendedTest : public ProgramTest {
protected:
    int runIt()
    {
        return runUnattended(services, [this] { ++explained; });
    }
    int explained = 0;
};

TEST_F(UnattendedTest, NothingArmedExplainsStoresNothingAndEndsWithTwo)
{
    storeTexts();
    storeValue("AUTOCLOSE_TICKBOX", "1");
    EXPECT_EQ(runIt(), kNothingArmed);
    EXPECT_EQ(explained, 1);
    EXPECT_EQ(stored("MAIN-Left"), "");
    EXPECT_TRUE(console.transcript().empty());
}

TEST_F(UnattendedTest, StoredRestartWithAutoCloseRunsToTheEndAndEndsWithZero)
{
    storeTexts();
    storeValue("AUTOSTART_RESTART_TICKBOX", "1");
    storeValue("AUTOCLOSE_TICKBOX", "1");
    const WindowId window = console.openWindow("SPIGOT-SERVER");
    EXPECT_EQ(runIt(), 0);
    EXPECT_EQ(explained, 0);
    EXPECT_EQ(loop.nowMs(), 210000);
    EXPECT_THAT(console.linesTypedInto(window), ElementsAre("say three", "say two", "say one", "say bye", "restart"));
    EXPECT_EQ(stored("AUTOSTART_RESTART_TICKBOX"), "1");
    EXPECT_NE(stored("MAIN-Left"), "");
}

TEST_F(UnattendedTest, RunThatGivesUpOnAMissingConsoleEndsWithOne)
{
    storeTexts();
    storeValue("AUTOSTART_SHUTDOWN_TICKBOX", "1");
    storeValue("AUTOCLOSE_TICKBOX", "1");
    EXPECT_EQ(runIt(), 1);
    EXPECT_EQ(explained, 0);
}

// The virtual clock, ending the program once no timer runs, as the loop
// without windows does.
class ClosesWhenIdleLoop : public HeadlessEventLoop {
public:
    void run(Form& main) override
    {
        while (!main.isUnloaded()) {
            const auto& timers = main.timers();
            if (std::none_of(timers.begin(), timers.end(), [](const Timer* timer) { return timer->running(); })) {
                main.close();
                return;
            }
            advance(1.0);
        }
    }
};

// A stored shutdown without AutoClose, on a loop that ends once the run has.
class UnattendedWithoutAutoClose : public ::testing::Test {
protected:
    UnattendedWithoutAutoClose()
    {
        store.put("vt-haltward", "WINDOW_NAME_TEXTBOX", "SPIGOT-SERVER");
        store.put("vt-haltward", "AUTOSTART_SHUTDOWN_TICKBOX", "1");
    }

    ClosesWhenIdleLoop loop;
    MemoryStore store;
    HeadlessConsole console{[this] { return loop.nowMs(); }};
    NullViewFactory views;
    Services services{loop, store, console, views, [] { return std::string("vt-haltward"); }};
};

TEST_F(UnattendedWithoutAutoClose, RunThatGivesUpStillEndsWithOne)
{
    EXPECT_EQ(runUnattended(services, [] {}), 1);
    // Five minutes of retries, then the run ended and with it the program.
    EXPECT_GE(loop.nowMs(), 300000);
    EXPECT_LT(loop.nowMs(), 400000);
}

TEST_F(UnattendedWithoutAutoClose, RunThatEndsWellEndsWithZero)
{
    const WindowId window = console.openWindow("SPIGOT-SERVER");
    EXPECT_EQ(runUnattended(services, [] {}), 0);
    EXPECT_EQ(console.linesTypedInto(window).back(), "stop");
}

// With AutoClose or without: nobody could mend the text here.
TEST_F(UnattendedTest, StoredTextThatCannotBeTypedEndsWithOneWithoutRunning)
{
    for (const char* autoClose : {"0", "1"}) {
        SCOPED_TRACE(autoClose);
        storeTexts();
        storeValue("THREE_MIN_MESSAGE_TEXTBOX", "{NOSUCHKEY}");
        storeValue("AUTOSTART_RESTART_TICKBOX", "1");
        storeValue("AUTOCLOSE_TICKBOX", autoClose);
        EXPECT_EQ(runIt(), 1);
        EXPECT_EQ(explained, 0);
        EXPECT_EQ(loop.nowMs(), 0);
        EXPECT_EQ(stored("MAIN-Left"), "");
    }
}

} // namespace
} // namespace vt::testing
