// The program where nobody can click: only a stored AutoStart tick gives it
// something to do.
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "app/program.h"
#include "support/program_fixture.h"
#include "support/sighting_script.h"

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

// The virtual clock, ending the program once no timer runs, as the loop
// without windows does; and what comes from outside at a given second.
class ClosesWhenIdleLoop : public HeadlessEventLoop {
public:
    // After the timers due at that second have fired.
    void at(int second, std::function<void(Form& main)> event) { events_[second] = std::move(event); }
    // A signal, as the loop without windows hands it on.
    void signalAt(int second, std::string signal)
    {
        at(second, [this, signal](Form& main) {
            dispatch(main.name() + ".close", [&main, &signal] { main.closeRequested(signal); });
        });
    }

    void run(Form& main) override
    {
        while (!main.isUnloaded()) {
            if (!timersRunning()) {
                main.close();
                return;
            }
            advance(1.0);
            const auto event = events_.find(static_cast<int>(nowMs() / 1000));
            if (event != events_.end() && !main.isUnloaded())
                event->second(main);
        }
    }

private:
    std::map<int, std::function<void(Form& main)>> events_;
};

// A stored run on a loop that ends once the run has, as without a display.
struct IdleEndingRun {
    explicit IdleEndingRun(const std::vector<std::pair<std::string, std::string>>& settings)
    {
        store.put("vt-haltward", "WINDOW_NAME_TEXTBOX", "SPIGOT-SERVER");
        for (const auto& [key, value] : settings)
            store.put("vt-haltward", key, value);
        loop.reports().writeLine = [this](const std::string& line) { errors.push_back(line); };
        loop.reports().writeNews = [this](const std::string& line, bool) { news.push_back(line); };
    }
    int run()
    {
        return runUnattended(services, [] {});
    }
    std::string stored(const std::string& key) const { return store.get("vt-haltward", key); }

    ClosesWhenIdleLoop loop;
    MemoryStore store;
    HeadlessConsole console{[this] { return loop.nowMs(); }};
    NullViewFactory views;
    Services services{loop, store, console, views, [] { return std::string("vt-haltward"); }};
    std::vector<std::string> errors;
    std::vector<std::string> news;
};

// A stored shutdown without AutoClose.
class UnattendedWithoutAutoClose : public ::testing::Test {
protected:
    IdleEndingRun shutdown{{{"AUTOSTART_SHUTDOWN_TICKBOX", "1"}}};
};

TEST_F(UnattendedWithoutAutoClose, RunThatGivesUpStillEndsWithOne)
{
    EXPECT_EQ(shutdown.run(), kRunFailed);
    // Five minutes of retries, then the run ended and with it the program.
    EXPECT_GE(shutdown.loop.nowMs(), 300000);
    EXPECT_LT(shutdown.loop.nowMs(), 400000);
}

TEST_F(UnattendedWithoutAutoClose, RunThatEndsWellEndsWithZero)
{
    const WindowId window = shutdown.console.openWindow("SPIGOT-SERVER");
    EXPECT_EQ(shutdown.run(), kRunCompleted);
    EXPECT_EQ(shutdown.console.linesTypedInto(window).back(), "stop");
}

// The console went away after the final message and never came back: the
// restart is tried again like any other step, and the run gives up.
TEST(Unattended, RestartThatCannotBeTypedGivesUpWithOne)
{
    for (const char* autoClose : {"0", "1"}) {
        SCOPED_TRACE(autoClose);
        IdleEndingRun restart({{"AUTOSTART_RESTART_TICKBOX", "1"}, {"AUTOCLOSE_TICKBOX", autoClose}});
        const WindowId window = restart.console.openWindow("SPIGOT-SERVER");
        restart.loop.at(195, [&](Form&) { restart.console.closeWindow(window); });
        EXPECT_EQ(restart.run(), kRunFailed);
        EXPECT_GE(restart.loop.nowMs(), 500000) << "five minutes after the first failure at 200 s";
        ASSERT_FALSE(restart.errors.empty());
        EXPECT_EQ(restart.errors.back(),
                  "vt-haltward: gave up after 5 minutes: no window titled 'SPIGOT-SERVER' was found");
    }
}

// SIGTERM, SIGINT or SIGHUP before the command: the run did not happen, and
// says so, with the step it stopped before. The settings are stored as the
// close box stores them.
TEST(Unattended, SignalBeforeTheCommandAbortsTheRunWithItsOwnStatus)
{
    const struct {
        int second;
        const char* signal;
        std::size_t linesTyped;
        const char* step;
    } cases[] = {
        {5, "SIGTERM", 0, "the 3-minute warning"},
        {75, "SIGINT", 2, "the 1-minute warning"},
        {195, "SIGHUP", 4, "the restart command"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signal);
        IdleEndingRun restart({{"AUTOSTART_RESTART_TICKBOX", "1"}, {"AUTOCLOSE_TICKBOX", "1"}});
        const WindowId window = restart.console.openWindow("SPIGOT-SERVER");
        restart.loop.signalAt(c.second, c.signal);
        EXPECT_EQ(restart.run(), kRunAborted);
        EXPECT_EQ(restart.loop.nowMs(), c.second * 1000);
        EXPECT_EQ(restart.console.linesTypedInto(window).size(), c.linesTyped);
        EXPECT_EQ(restart.errors,
                  std::vector<std::string>{"vt-haltward: the run was aborted by " + std::string(c.signal) + " before " +
                                           c.step + "; nothing more is typed"});
        EXPECT_EQ(restart.stored("AUTOSTART_RESTART_TICKBOX"), "1");
        EXPECT_NE(restart.stored("MAIN-Left"), "");
    }
}

// Once the command is typed the run has done its job: a signal during
// AutoClose's wait only closes the program sooner.
TEST(Unattended, SignalAfterTheCommandEndsACompletedRun)
{
    IdleEndingRun restart({{"AUTOSTART_RESTART_TICKBOX", "1"}, {"AUTOCLOSE_TICKBOX", "1"}});
    const WindowId window = restart.console.openWindow("SPIGOT-SERVER");
    restart.loop.signalAt(205, "SIGTERM");
    EXPECT_EQ(restart.run(), kRunCompleted);
    EXPECT_EQ(restart.loop.nowMs(), 205000);
    EXPECT_EQ(restart.console.linesTypedInto(window).back(), "restart");
    EXPECT_TRUE(restart.errors.empty());
}

// A console read back and a server watched: once the run is over, the
// program ends when the stop is seen, or the bound after the command passed.
class WatchedStop : public ::testing::TestWithParam<const char*> {
protected:
    WatchedStop()
    {
        shutdown.console.setSight(ConsoleSight{true, true, {}});
        shutdown.console.openWindow("SPIGOT-SERVER");
        shutdown.services.stopWaitMs = 60000;
    }
    IdleEndingRun shutdown{{{"AUTOSTART_SHUTDOWN_TICKBOX", "1"}, {"AUTOCLOSE_TICKBOX", GetParam()}}};
    SightingScript script{shutdown.services, shutdown.console};
};

TEST_P(WatchedStop, TheProgramEndsWhenTheStopIsSeen)
{
    script.at(234.5, StepExpectation::Kind::Stop, ConsoleSighting::ServerEnded);
    EXPECT_EQ(shutdown.run(), kRunCompleted);
    // This loop moves on a second at a time.
    EXPECT_EQ(shutdown.loop.nowMs(), 235000);
    EXPECT_EQ(shutdown.news.back(), "CONFIRMED the server stopped 34.5 s after stop");
}

TEST_P(WatchedStop, AServerThatNeverStopsEndsTheProgramWithFourAfterTheBound)
{
    EXPECT_EQ(shutdown.run(), kServerDidNotObey);
    EXPECT_EQ(shutdown.loop.nowMs(), 260000);
    EXPECT_EQ(shutdown.news.back(), "NOT STOPPED the server did not stop within 1 minute after stop");
}

// A signal while waiting ends the program at once: the run has completed,
// and what became of the server is said not to be known.
TEST_P(WatchedStop, ASignalWhileWaitingEndsAtOnceWithWhatIsKnown)
{
    shutdown.loop.signalAt(230, "SIGTERM");
    EXPECT_EQ(shutdown.run(), kRunCompleted);
    EXPECT_EQ(shutdown.loop.nowMs(), 230000);
    EXPECT_EQ(shutdown.news.back(),
              "UNKNOWN SIGTERM ended the wait 30.0 s after stop: whether the server stops is not known");
    EXPECT_NE(shutdown.stored("MAIN-Left"), "");
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutAutoClose, WatchedStop, ::testing::Values("1", "0"));

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
