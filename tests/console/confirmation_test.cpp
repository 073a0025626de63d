// What became of each console step, judged on the virtual clock from what a
// scripted console reports seeing: answers, a server that stops, restarts or
// does neither. The run's own schedule never waits for any of it.
#include <gmock/gmock.h>

#include "app/program.h"
#include "platform/failures.h"
#include "support/program_fixture.h"
#include "support/sighting_script.h"

namespace vt::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Kind = StepExpectation::Kind;

const ConsoleSight kReadable{true, true, {}};

class Confirmation : public ProgramTest {
protected:
    // A run started at 0 s in the given mode, on a console that can be read
    // back and whose server can be watched unless told otherwise.
    VT_HALTWARD_MAIN& startRun(bool restart, ConsoleSight sight = kReadable)
    {
        storeTexts();
        console.setSight(sight);
        server = console.openWindow("SPIGOT-SERVER");
        auto& w = start();
        w.click(restart ? w.AUTOSTART_RESTART_TICKBOX : w.AUTOSTART_SHUTDOWN_TICKBOX);
        w.click(w.START_STOP_BUTTON);
        return w;
    }

    // No run: the immediate pair unlocked, the console open.
    VT_HALTWARD_MAIN& startUnlocked()
    {
        storeTexts();
        console.setSight(kReadable);
        server = console.openWindow("SPIGOT-SERVER");
        auto& w = start();
        w.click(w.ENABLE_NO_WARNINGS_BUTTON);
        return w;
    }

    // Advances to atSeconds, then the console shows what the link reports,
    // and the loop gets to it.
    void seeAt(double atSeconds, Kind kind, ConsoleSighting sighting, const std::string& answer = {})
    {
        loop.advanceMs(static_cast<std::int64_t>(atSeconds * 1000) - loop.nowMs());
        ASSERT_TRUE(console.sighted(kind, sighting, answer)) << "nothing watched for that at " << atSeconds << " s";
        loop.advanceMs(0);
    }

    // Answers each warning half a second after it was typed.
    void answerTheWarnings()
    {
        seeAt(10.5, Kind::Say, ConsoleSighting::Answered, "three");
        seeAt(70.5, Kind::Say, ConsoleSighting::Answered, "two");
        seeAt(130.5, Kind::Say, ConsoleSighting::Answered, "one");
        seeAt(190.5, Kind::Say, ConsoleSighting::Answered, "bye");
    }

    WindowId server = 0;
};

TEST_F(Confirmation, EachSayLineWatchesForItsTextAsTypedAndAnAnswerConfirmsIt)
{
    startRun(false);
    answerTheWarnings();
    EXPECT_THAT(newsLines, ElementsAre("good: CONFIRMED the server answered the 3-minute message",
                                       "good: CONFIRMED the server answered the 2-minute message",
                                       "good: CONFIRMED the server answered the 1-minute message",
                                       "good: CONFIRMED the server answered the final message"));
    std::vector<std::string> answers;
    for (const StepExpectation& expected : console.watchedExpectations())
        answers.push_back(expected.answer);
    EXPECT_THAT(answers, ElementsAre("three", "two", "one", "bye"));
    EXPECT_EQ(console.liveWatches(), 0u) << "an answered line is no longer watched";
    ASSERT_TRUE(loop.reports().current());
    EXPECT_FALSE(loop.reports().current()->alarming()) << "good news is shown without alarm";
}

TEST_F(Confirmation, TheAnswerIsTheMessagesCharactersAsTyped)
{
    storeTexts();
    storeValue("THREE_MIN_MESSAGE_TEXTBOX", "{+}5 XP \xc2\xa7"
                                            "e{(}soon{)}~");
    console.setSight(kReadable);
    console.openWindow("SPIGOT-SERVER");
    auto& w = start();
    w.click(w.AUTOSTART_SHUTDOWN_TICKBOX);
    w.click(w.START_STOP_BUTTON);
    loop.advance(10);
    ASSERT_EQ(console.watchedExpectations().size(), 1u);
    EXPECT_EQ(console.watchedExpectations()[0].kind, Kind::Say);
    EXPECT_EQ(console.watchedExpectations()[0].answer, "+5 XP \xc2\xa7"
                                                       "e(soon)");
}

// A blank final message types "say " alone; a server answers that with its
// usage, never with "[Server] ", so waiting for an answer would only report
// a fault that is none.
TEST_F(Confirmation, ABlankLineExpectsNoAnswer)
{
    storeTexts();
    storeValue("SHUTDOWN_RESTART_MESSAGE_TEXTBOX", "  ");
    console.setSight(kReadable);
    console.openWindow("SPIGOT-SERVER");
    auto& w = start();
    w.click(w.ENABLE_NO_WARNINGS_BUTTON);
    w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON);
    ASSERT_EQ(console.watchedExpectations().size(), 1u);
    EXPECT_EQ(console.watchedExpectations()[0].kind, Kind::Stop);
    loop.advance(10);
    EXPECT_THAT(newsLines, IsEmpty());
}

TEST_F(Confirmation, AnUnansweredLineIsUnconfirmedAfterFiveSecondsAndALateAnswerIsStillReported)
{
    startRun(false);
    loop.advanceMs(14999);
    EXPECT_THAT(newsLines, IsEmpty());
    loop.advanceMs(1);
    EXPECT_THAT(newsLines, ElementsAre("bad: UNCONFIRMED the server did not answer the 3-minute message within 5 "
                                       "seconds; it is not typed again"));
    EXPECT_TRUE(loop.reports().current()->alarming());
    seeAt(40, Kind::Say, ConsoleSighting::Answered, "three");
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the server answered the 3-minute message late, 30.0 s after it was "
                                "typed");
    loop.advance(35);
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say three", "say two"}))
        << "an unconfirmed line is never typed again";
}

// The keys and the status line come at the same times whatever the console
// answers, or when it answers nothing at all.
class ScheduleUnchanged : public Confirmation, public ::testing::WithParamInterface<bool> {};

TEST_P(ScheduleUnchanged, NoTimerWaitsForAnAnswerOrTheServer)
{
    auto& w = startRun(false);
    if (GetParam())
        answerTheWarnings();
    loop.advanceMs(210000 - loop.nowMs());
    EXPECT_EQ(sentStrings(true),
              (std::vector<std::string>{"10|say |W", "10|three|W", "10|{ENTER}|-", "70|say |W", "70|two|W",
                                        "70|{ENTER}|-", "130|say |W", "130|one|W", "130|{ENTER}|-", "190|say |W",
                                        "190|bye|W", "190|{ENTER}|-", "200|stop{ENTER}|W"}));
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "READY...") << "back to ready at 210 s";
}

INSTANTIATE_TEST_SUITE_P(AnsweredOrNot, ScheduleUnchanged, ::testing::Bool());

TEST_F(Confirmation, AConsoleThatCannotBeReadIsSaidOncePerRunNotPerLine)
{
    auto& w = startRun(false, ConsoleSight{false, true, {}});
    seeAt(203.5, Kind::Stop, ConsoleSighting::ServerEnded);
    EXPECT_THAT(newsLines, ElementsAre("good: TYPED the console 'SPIGOT-SERVER' cannot be read back: its lines are "
                                       "typed, not confirmed",
                                       "good: CONFIRMED the server stopped 3.5 s after stop"));
    EXPECT_EQ(console.watchedExpectations().size(), 1u) << "only the command is watched";
    loop.advance(10);
    w.click(w.START_STOP_BUTTON);
    loop.advance(15);
    EXPECT_EQ(newsLines.size(), 3u) << "said again in the next run";
}

TEST_F(Confirmation, AServerThatCannotBeWatchedIsSaidAndNothingIsClaimed)
{
    startRun(false, ConsoleSight{true, false, "the terminal process hosts several windows"});
    answerTheWarnings();
    loop.advance(20);
    EXPECT_EQ(newsLines.back(), "good: UNWATCHED the server behind 'SPIGOT-SERVER' cannot be watched: the terminal "
                                "process hosts several windows; whether it obeys stop is not known");
    EXPECT_FALSE(main->outcomes().serverDidNotObey());
}

// A link that cannot start watching still types: the step is one it cannot see.
TEST_F(Confirmation, AWatchThatCannotStartLeavesTheStepTyped)
{
    console.failWatches("the control client did not start");
    startRun(false);
    loop.advance(205);
    EXPECT_EQ(console.linesTypedInto(server).size(), 5u);
    EXPECT_THAT(newsLines, ElementsAre("good: TYPED the console 'SPIGOT-SERVER' cannot be read back: the control "
                                       "client did not start",
                                       "good: UNWATCHED the server behind 'SPIGOT-SERVER' cannot be watched: the "
                                       "control client did not start; whether it obeys stop is not known"));
}

TEST_F(Confirmation, StopIsConfirmedWhenTheServerEndsWithTheTimeItTook)
{
    startRun(false);
    answerTheWarnings();
    seeAt(208.4, Kind::Stop, ConsoleSighting::ServerEnded);
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the server stopped 8.4 s after stop");
    EXPECT_FALSE(main->outcomes().commandPending());
    EXPECT_EQ(console.liveWatches(), 0u);
}

// A link that checks on the console after the keys (screen asks for the
// window) may take a while under load: the server's time still counts from
// the keys, never from the check, or a 2-second stop reads as 1.7 s.
TEST_F(Confirmation, TheTimeItTookCountsFromTheKeysNotFromTheLinksCheckAfterThem)
{
    auto& w = startUnlocked();
    console.afterTyping([this] { loop.spendMs(300); });
    const double clicked = static_cast<double>(loop.nowMs()) / 1000;
    w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON);
    seeAt(clicked + 2, Kind::Stop, ConsoleSighting::ServerEnded);
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the server stopped 2.0 s after stop");
}

// The bound comes from Services, as the entry files read it.
class StopBound : public Confirmation, public ::testing::WithParamInterface<std::pair<std::int64_t, const char*>> {};

TEST_P(StopBound, AServerThatDoesNotStopWithinTheBoundIsReported)
{
    const auto [boundMs, words] = GetParam();
    services.stopWaitMs = boundMs;
    startRun(false);
    answerTheWarnings();
    loop.advanceMs(200000 + boundMs - 1 - loop.nowMs());
    EXPECT_TRUE(main->outcomes().commandPending());
    loop.advanceMs(1);
    EXPECT_EQ(newsLines.back(),
              "bad: NOT STOPPED the server did not stop within " + std::string(words) + " after stop");
    EXPECT_TRUE(main->outcomes().serverDidNotObey());
    EXPECT_EQ(console.liveWatches(), 0u);
    EXPECT_FALSE(console.sighted(Kind::Stop, ConsoleSighting::ServerEnded)) << "no longer watched";
}

INSTANTIATE_TEST_SUITE_P(DefaultAndSet, StopBound,
                         ::testing::Values(std::pair<std::int64_t, const char*>{kDefaultStopWaitMs, "5 minutes"},
                                           std::pair<std::int64_t, const char*>{20000, "20 seconds"}));

TEST_F(Confirmation, ARestartEndsTheOldServerAndANewOneIsReportedBackUp)
{
    startRun(true);
    answerTheWarnings();
    seeAt(203, Kind::Restart, ConsoleSighting::ServerEnded);
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the old server ended 3.0 s after restart");
    EXPECT_TRUE(main->outcomes().commandPending()) << "a new server is looked for";
    seeAt(212.5, Kind::Restart, ConsoleSighting::ServerStarted);
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the server is back up 12.5 s after restart");
    EXPECT_FALSE(main->outcomes().commandPending());
    EXPECT_FALSE(main->outcomes().serverDidNotObey());
    EXPECT_EQ(console.liveWatches(), 0u);
}

TEST_F(Confirmation, ARestartWhoseNewServerNeverComesStillObeyedAfterAMinute)
{
    startRun(true);
    seeAt(203, Kind::Restart, ConsoleSighting::ServerEnded);
    loop.advanceMs(60000 - 1);
    EXPECT_TRUE(main->outcomes().commandPending());
    loop.advanceMs(1);
    EXPECT_FALSE(main->outcomes().commandPending());
    EXPECT_FALSE(main->outcomes().serverDidNotObey());
    EXPECT_EQ(console.liveWatches(), 0u);
}

// A pane whose own command was the server closes with it: nothing can come
// back there, so the wait ends at once, and a stop the console could see
// still counts as done.
TEST_F(Confirmation, ARestartWhoseConsoleClosedWithTheOldServerIsSettledThen)
{
    startRun(true);
    seeAt(203, Kind::Restart, ConsoleSighting::ServerEnded);
    seeAt(204, Kind::Restart, ConsoleSighting::ConsoleClosed);
    EXPECT_EQ(newsLines.back(), "good: UNWATCHED the console closed with the old server: whether the server is "
                                "back up cannot be seen from it");
    EXPECT_FALSE(main->outcomes().commandPending());
    EXPECT_FALSE(main->outcomes().serverDidNotObey());
    EXPECT_EQ(console.liveWatches(), 0u);
}

// A Windows console: the restart script opens a console of its own, so the
// program does not wait a minute for a server it could never see.
TEST_F(Confirmation, ARestartWhoseNewServerCannotBeSeenIsSettledWhenTheOldOneEnds)
{
    startRun(true, ConsoleSight{true, true, {}, false});
    seeAt(203, Kind::Restart, ConsoleSighting::ServerEnded);
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the old server ended 3.0 s after restart; whether it is back up "
                                "cannot be seen from this console");
    EXPECT_FALSE(main->outcomes().commandPending());
    EXPECT_FALSE(main->outcomes().serverDidNotObey());
    EXPECT_EQ(console.liveWatches(), 0u);
}

// Spigot says so before its server ends; the link may report the two in
// either order.
class NoRestartScript : public Confirmation, public ::testing::WithParamInterface<bool> {};

TEST_P(NoRestartScript, ARestartWithoutARestartScriptIsOnlyAStop)
{
    startRun(true);
    if (GetParam())
        seeAt(202, Kind::Restart, ConsoleSighting::ServerEnded);
    seeAt(202.5, Kind::Restart, ConsoleSighting::NoRestartScript);
    EXPECT_EQ(newsLines.back(), "bad: NOT RESTARTED the server stopped but did not restart: it has no restart "
                                "script (spigot.yml restart-script)");
    EXPECT_TRUE(main->outcomes().serverDidNotObey());
    EXPECT_FALSE(main->outcomes().commandPending());
}

INSTANTIATE_TEST_SUITE_P(EndedFirstOrNot, NoRestartScript, ::testing::Bool());

TEST_F(Confirmation, AStepThatFailedWatchesNothing)
{
    storeTexts();
    console.setSight(kReadable);
    auto& w = start();
    w.click(w.AUTOSTART_SHUTDOWN_TICKBOX);
    w.click(w.START_STOP_BUTTON);
    loop.advance(10);
    EXPECT_EQ(currentReport(), "no window titled 'SPIGOT-SERVER' was found");
    EXPECT_EQ(console.liveWatches(), 0u);
    EXPECT_EQ(main->outcomes().watching(), 0u);
}

// A line of unknown fate may have arrived: its answer tells.
TEST_F(Confirmation, ALineOfUnknownFateIsStillWatched)
{
    startRun(false);
    loop.advance(60);
    console.loseTrackOfNextStep();
    seeAt(70.5, Kind::Say, ConsoleSighting::Answered, "two");
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the server answered the 2-minute message");
}

TEST_F(Confirmation, TheImmediateActionsWatchTheirLineAndCommand)
{
    auto& w = startUnlocked();
    w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON);
    seeAt(0.2, Kind::Say, ConsoleSighting::Answered, "bye");
    seeAt(4.1, Kind::Stop, ConsoleSighting::ServerEnded);
    EXPECT_THAT(newsLines, ElementsAre("good: CONFIRMED the server answered the final message",
                                       "good: CONFIRMED the server stopped 4.1 s after stop"));
    w.click(w.RESTART_NO_WARNINGS_BUTTON);
    seeAt(6, Kind::Restart, ConsoleSighting::NoRestartScript);
    EXPECT_EQ(newsLines.back(), "bad: NOT RESTARTED the server stopped but did not restart: it has no restart "
                                "script (spigot.yml restart-script)");
    EXPECT_EQ(w.exitStatus(), kServerDidNotObey);
}

// The exit status tells what the last command's server did; a command that
// never reached the console changes nothing.
TEST_F(Confirmation, TheLastCommandDeliveredTellsWhetherTheServerObeyed)
{
    services.stopWaitMs = 20000;
    auto& w = startUnlocked();
    w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON);
    loop.advance(20);
    EXPECT_EQ(w.exitStatus(), kServerDidNotObey);
    // Found, but nothing could be typed into it.
    console.grabKeyboard(true);
    w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON);
    EXPECT_NE(currentReport(), "");
    EXPECT_EQ(w.exitStatus(), kServerDidNotObey) << "nothing was typed";
    console.grabKeyboard(false);
    w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON);
    seeAt(25, Kind::Stop, ConsoleSighting::ServerEnded);
    EXPECT_EQ(w.exitStatus(), kRunCompleted);
}

// After AutoClose the window is gone and the program waits on for the
// command's outcome, at most the stop bound after the command.
class ConfirmedExit : public ProgramTest {
protected:
    int runStored(bool restart)
    {
        storeTexts();
        storeValue(restart ? "AUTOSTART_RESTART_TICKBOX" : "AUTOSTART_SHUTDOWN_TICKBOX", "1");
        storeValue("AUTOCLOSE_TICKBOX", "1");
        console.setSight(kReadable);
        console.openWindow("SPIGOT-SERVER");
        return runUnattended(services, [] {});
    }
    SightingScript script{services, console};
};

TEST_F(ConfirmedExit, AStopSeenAfterTheWindowClosedEndsWithZeroThen)
{
    script.at(215.5, Kind::Stop, ConsoleSighting::ServerEnded);
    EXPECT_EQ(runStored(false), kRunCompleted);
    EXPECT_EQ(loop.nowMs(), 215500);
    EXPECT_NE(stored("MAIN-Left"), "") << "the window closed at its tick, storing the settings";
    EXPECT_EQ(newsLines.back(), "good: CONFIRMED the server stopped 15.5 s after stop");
}

TEST_F(ConfirmedExit, ARestartOnlyAStopEndsWithFour)
{
    script.at(204, Kind::Restart, ConsoleSighting::NoRestartScript);
    EXPECT_EQ(runStored(true), kServerDidNotObey);
    EXPECT_EQ(loop.nowMs(), 210000) << "known before AutoClose: nothing to wait for";
}

TEST_F(ConfirmedExit, ARestartBackUpEndsWithZeroOnceItIsSeen)
{
    script.at(203, Kind::Restart, ConsoleSighting::ServerEnded);
    script.at(214, Kind::Restart, ConsoleSighting::ServerStarted);
    EXPECT_EQ(runStored(true), kRunCompleted);
    EXPECT_EQ(loop.nowMs(), 214000);
    EXPECT_EQ(console.liveWatches(), 0u);
}

TEST_F(ConfirmedExit, AServerThatCannotBeWatchedEndsAtAutoClose)
{
    storeTexts();
    storeValue("AUTOSTART_SHUTDOWN_TICKBOX", "1");
    storeValue("AUTOCLOSE_TICKBOX", "1");
    console.setSight(ConsoleSight{false, false, {}});
    console.openWindow("SPIGOT-SERVER");
    EXPECT_EQ(runUnattended(services, [] {}), kRunCompleted);
    EXPECT_EQ(loop.nowMs(), 210000);
}

TEST(StopWait, ReadFromItsVariableInWholeSeconds)
{
    EXPECT_EQ(stopWaitMsFrom(nullptr), kDefaultStopWaitMs);
    EXPECT_EQ(stopWaitMsFrom(""), kDefaultStopWaitMs);
    EXPECT_EQ(stopWaitMsFrom("30"), 30000);
    EXPECT_EQ(stopWaitMsFrom("86400"), 86400000);
    for (const char* bad : {"0", "-5", "1.5", "30s", "86401", "99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(stopWaitMsFrom(bad), vt::Failure);
    }
}

} // namespace
} // namespace vt::testing
