// The warned stop/restart on the virtual clock, compared keystroke for keystroke.
#include "support/program_fixture.h"

namespace vt::testing {
namespace {

class Sequence : public ProgramTest {
protected:
    // The status line after each second of the run, whenever it changed.
    std::vector<std::string> statusesOver(int seconds)
    {
        std::vector<std::string> seen{main->CURRENT_STATUS_LABEL.caption()};
        for (int s = 0; s < seconds && !main->isUnloaded(); ++s) {
            loop.advance(1);
            if (!main->isUnloaded() && main->CURRENT_STATUS_LABEL.caption() != seen.back())
                seen.push_back(main->CURRENT_STATUS_LABEL.caption());
        }
        return seen;
    }

    VT_HALTWARD_MAIN& startReadyFor(TickBox& (*mode)(VT_HALTWARD_MAIN&))
    {
        auto& w = start();
        w.click(mode(w));
        return w;
    }

    static TickBox& shutdownMode(VT_HALTWARD_MAIN& w) { return w.AUTOSTART_SHUTDOWN_TICKBOX; }
    static TickBox& restartMode(VT_HALTWARD_MAIN& w) { return w.AUTOSTART_RESTART_TICKBOX; }

    void expectAllTimersStopped()
    {
        for (vt::Timer* timer : main->timers())
            EXPECT_FALSE(timer->enabled()) << timer->name();
    }

    // A restart run whose 2-minute warning (70 s) reaches the console, the
    // sender losing track of it.
    WindowId runUntilTheSecondWarningsFateIsUnknown()
    {
        storeTexts();
        const WindowId server = console.openWindow("SPIGOT-SERVER");
        auto& w = startReadyFor(restartMode);
        w.click(w.START_STOP_BUTTON);
        loop.advance(60);
        console.loseTrackOfNextStep();
        loop.advance(10);
        return server;
    }

    // The console closes after the final message, so the command fails at
    // 200 s; it is back for the next tick, which types the command.
    void expectCommandTriedAgain(TickBox& (*mode)(VT_HALTWARD_MAIN&), const std::string& command)
    {
        storeTexts();
        const WindowId server = console.openWindow("SPIGOT-SERVER");
        auto& w = startReadyFor(mode);
        w.click(w.START_STOP_BUTTON);
        loop.advance(195);
        console.closeWindow(server);
        loop.advance(5);
        EXPECT_EQ(currentReport(), "no window titled 'SPIGOT-SERVER' was found");
        EXPECT_TRUE(w.SHUTDOWN_RESTART_MESSAGE_TIMER.enabled()) << "the command is tried again";
        EXPECT_EQ(w.START_STOP_BUTTON.caption(), "STOP");
        const WindowId again = console.openWindow("SPIGOT-SERVER");
        loop.advance(10);
        EXPECT_EQ(console.linesTypedInto(again), std::vector<std::string>{command});
        EXPECT_EQ(console.transcript().back().atMs, 210000);
        EXPECT_EQ(currentReport(), "");
        loop.advance(10);
        EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "READY...");
    }
};

const std::vector<std::string> kShutdownKeys{
    "10|say |W", "10|three|W",    "10|{ENTER}|-", "70|say |W", "70|two|W",      "70|{ENTER}|-",      "130|say |W",
    "130|one|W", "130|{ENTER}|-", "190|say |W",   "190|bye|W", "190|{ENTER}|-", "200|stop{ENTER}|W",
};

TEST_F(Sequence, AFullShutdownRunWithoutAutoClose)
{
    storeTexts();
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    EXPECT_EQ(statusesOver(215),
              (std::vector<std::string>{"!!! STARTING IN 10 SECONDS !!!", "SPIGOT SHUTDOWN IN 3 MINS",
                                        "SPIGOT SHUTDOWN IN 2 MINS", "SPIGOT SHUTDOWN IN 1 MIN",
                                        "!!! SPIGOT SHUTTING DOWN !!!", "FINISHING...", "READY..."}));
    EXPECT_EQ(sentStrings(true), kShutdownKeys);
    EXPECT_EQ(console.linesTypedInto(server),
              (std::vector<std::string>{"say three", "say two", "say one", "say bye", "stop"}));
    EXPECT_EQ(console.activations(), 5);
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START");
    EXPECT_TRUE(w.START_STOP_BUTTON.enabled());
    EXPECT_TRUE(w.AUTOSTART_SHUTDOWN_TICKBOX.enabled());
    EXPECT_FALSE(w.AUTOSTART_RESTART_TICKBOX.enabled()) << "the unticked mode stays disabled";
    EXPECT_TRUE(w.SETTINGS_BUTTON.enabled());
    EXPECT_TRUE(w.ENABLE_NO_WARNINGS_BUTTON.enabled());
    expectAllTimersStopped();
    EXPECT_FALSE(w.isUnloaded());
    EXPECT_EQ(currentReport(), "");
}

TEST_F(Sequence, ARestartRunWithAutoCloseUnloadsAndTheNextStartArmsAgain)
{
    storeTexts();
    console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(restartMode);
    w.click(w.AUTOCLOSE_TICKBOX);
    w.click(w.START_STOP_BUTTON);
    const auto statuses = statusesOver(209);
    EXPECT_EQ(std::vector<std::string>(statuses.end() - 2, statuses.end()),
              (std::vector<std::string>{"!!! SPIGOT RESTARTING !!!", "!!! AUTOCLOSING IN 10 SECONDS !!!"}));
    EXPECT_EQ(console.transcript().back().keys, "restart{ENTER}");
    EXPECT_EQ(console.transcript().back().atMs, 200000);
    EXPECT_EQ(console.transcript().size(), 13u) << "no say line at the command step";
    EXPECT_FALSE(w.isUnloaded());
    loop.advance(1);
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(stored("AUTOSTART_RESTART_TICKBOX"), "1");
    EXPECT_EQ(stored("AUTOCLOSE_TICKBOX"), "1");

    auto& next = start();
    EXPECT_EQ(next.CURRENT_STATUS_LABEL.caption(), "STARTING IN 10 SECS...");
    loop.run(next);
    EXPECT_TRUE(next.isUnloaded()) << "the next start runs the whole sequence and closes by itself";
    EXPECT_EQ(console.transcript().back().keys, "restart{ENTER}");
}

// Typing into a real console takes time. Each step is as late as its own
// typing and no later: the steps stay on the times START set, and the last
// warning still comes a minute before the command.
TEST_F(Sequence, TypingTimeDoesNotPushTheRestOfTheRunBack)
{
    storeTexts();
    console.openWindow("SPIGOT-SERVER");
    console.whileTyping([this] { loop.spendMs(400); });
    auto& w = startReadyFor(restartMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(215);
    std::vector<std::int64_t> linesAtMs;
    for (const TypedKeys& entry : console.transcript()) {
        if (entry.keys.ends_with("{ENTER}"))
            linesAtMs.push_back(entry.atMs);
    }
    EXPECT_EQ(linesAtMs, (std::vector<std::int64_t>{10400, 70400, 130400, 190400, 200400}));
}

TEST_F(Sequence, StopAbortsFromEveryState)
{
    storeTexts();
    for (int abortAt : {5, 15, 75, 135, 195, 205}) {
        console = HeadlessConsole([this] { return loop.nowMs(); });
        console.openWindow("SPIGOT-SERVER");
        auto& w = startReadyFor(shutdownMode);
        w.click(w.START_STOP_BUTTON);
        loop.advance(abortAt);
        const std::size_t typedBefore = console.transcript().size();
        EXPECT_TRUE(w.click(w.START_STOP_BUTTON)) << abortAt;
        EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! ABORTED !!!") << abortAt;
        EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START") << abortAt;
        EXPECT_TRUE(w.AUTOSTART_SHUTDOWN_TICKBOX.enabled()) << abortAt;
        EXPECT_TRUE(w.AUTOSTART_RESTART_TICKBOX.enabled()) << abortAt;
        EXPECT_EQ(w.AUTOSTART_SHUTDOWN_TICKBOX.value(), 1) << abortAt;
        EXPECT_TRUE(w.SETTINGS_BUTTON.enabled()) << abortAt;
        EXPECT_TRUE(w.ENABLE_NO_WARNINGS_BUTTON.enabled()) << abortAt;
        expectAllTimersStopped();
        loop.advance(300);
        EXPECT_EQ(console.transcript().size(), typedBefore) << "nothing more is typed after STOP at " << abortAt;
        main.reset();
    }
}

TEST_F(Sequence, TickingTheOtherModeAfterAnAbortIsReadyAtOnce)
{
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    w.click(w.START_STOP_BUTTON);
    w.click(w.AUTOSTART_RESTART_TICKBOX);
    EXPECT_EQ(w.AUTOSTART_RESTART_TICKBOX.value(), 1);
    EXPECT_EQ(w.AUTOSTART_SHUTDOWN_TICKBOX.value(), 0);
    EXPECT_FALSE(w.AUTOSTART_SHUTDOWN_TICKBOX.enabled());
    EXPECT_TRUE(w.AUTOSTART_RESTART_TICKBOX.enabled());
    EXPECT_TRUE(w.START_STOP_BUTTON.enabled()) << "START can be clicked without unticking and ticking again";
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START");
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! ABORTED !!!") << "the tickboxes leave the status alone";
}

TEST_F(Sequence, UntickingTheModeWhileReadyDisablesStartAndLeavesTheStatus)
{
    auto& w = startReadyFor(shutdownMode);
    EXPECT_TRUE(w.START_STOP_BUTTON.enabled());
    EXPECT_FALSE(w.AUTOSTART_RESTART_TICKBOX.enabled());
    w.click(w.AUTOSTART_SHUTDOWN_TICKBOX);
    EXPECT_FALSE(w.START_STOP_BUTTON.enabled());
    EXPECT_TRUE(w.AUTOSTART_RESTART_TICKBOX.enabled());
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "READY...");
}

TEST_F(Sequence, AutoCloseFollowsItsValueAtEachOfTheLastTwoSteps)
{
    storeTexts();
    console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.AUTOCLOSE_TICKBOX);
    w.click(w.START_STOP_BUTTON);
    loop.advance(195);
    w.click(w.AUTOCLOSE_TICKBOX); // unticked before the command step
    loop.advance(10);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "FINISHING...");
    w.click(w.AUTOCLOSE_TICKBOX); // ticked again before the closing step
    loop.advance(10);
    EXPECT_TRUE(w.isUnloaded());
}

TEST_F(Sequence, AutoCloseTickedAtTheCommandAndUntickedBeforeItsTickReturnsToReady)
{
    storeTexts();
    console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.AUTOCLOSE_TICKBOX);
    w.click(w.START_STOP_BUTTON);
    loop.advance(205);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! AUTOCLOSING IN 10 SECONDS !!!");
    w.click(w.AUTOCLOSE_TICKBOX); // unticked before the closing step
    loop.advance(10);
    EXPECT_FALSE(w.isUnloaded());
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "READY...");
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START");
    EXPECT_TRUE(w.SETTINGS_BUTTON.enabled());
    expectAllTimersStopped();
}

TEST_F(Sequence, ExitDuringARunEndsItAndNothingMoreIsTyped)
{
    storeTexts();
    storeValue("AUTOSTART_SHUTDOWN_TICKBOX", "1");
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = start();
    loop.advance(75);
    ASSERT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say three", "say two"}));
    const std::size_t typedBefore = console.transcript().size();
    EXPECT_TRUE(w.click(w.EXIT_BUTTON));
    EXPECT_TRUE(w.isUnloaded());
    loop.advance(300);
    EXPECT_EQ(console.transcript().size(), typedBefore) << "nothing is typed after EXIT";
    EXPECT_EQ(stored("AUTOSTART_SHUTDOWN_TICKBOX"), "1") << "the AutoStart tick stays stored";
}

TEST_F(Sequence, ButtonsTheRunDoesNotTouchStayUsable)
{
    storeTexts();
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.ENABLE_NO_WARNINGS_BUTTON);
    w.click(w.START_STOP_BUTTON);
    loop.advance(20);
    EXPECT_FALSE(w.click(w.ENABLE_NO_WARNINGS_BUTTON)) << "the guard cannot lock the pair during a run";
    EXPECT_FALSE(w.click(w.SETTINGS_BUTTON));
    EXPECT_TRUE(w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON));
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! SPIGOT SHUTDOWN STARTED !!!");
    expectAllTimersStopped();
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START") << "the immediate action ends the run";
    EXPECT_TRUE(w.SETTINGS_BUTTON.enabled());
    loop.advance(300);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! SPIGOT SHUTDOWN STARTED !!!");
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say three", "say bye", "stop"}))
        << "nothing is typed after the command";
}

TEST_F(Sequence, MessagesArePassedThroughAsNotation)
{
    storeTexts();
    storeValue("THREE_MIN_MESSAGE_TEXTBOX", "first~second");
    storeValue("TWO_MIN_MESSAGE_TEXTBOX", "{+}1 +a ^(cv) {{}x{}} %{F4}");
    storeValue("ONE_MIN_MESSAGE_TEXTBOX", "");
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(135);
    EXPECT_EQ(console.linesTypedInto(server),
              (std::vector<std::string>{"say first", "second", "say {+}1 +a ^c^v {{}x{}} %{F4}", "say "}))
        << "a ~ presses Enter where it stands; an empty message still types \"say \" and Enter";
}

TEST_F(Sequence, TheTitleIsReadAnewAtEveryStep)
{
    storeTexts("FIRST");
    const WindowId first = console.openWindow("FIRST");
    const WindowId second = console.openWindow("SECOND");
    auto& w = startReadyFor(restartMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(11);
    w.WINDOW_NAME_TEXTBOX.setText("SECOND");
    loop.advance(60);
    EXPECT_EQ(console.linesTypedInto(first), (std::vector<std::string>{"say three"}));
    EXPECT_EQ(console.linesTypedInto(second), (std::vector<std::string>{"say two"}));
    EXPECT_EQ(console.focusedWindow(), 0) << "the focus goes back where it was before the step";
}

TEST_F(Sequence, AMissingConsoleHoldsTheRunAtThatStepUntilItAppears)
{
    storeTexts();
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(10);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "SPIGOT SHUTDOWN IN 3 MINS") << "the change before the step stays";
    EXPECT_TRUE(w.AUTOSTART_TIMER.enabled()) << "the failed step's timer stays enabled";
    EXPECT_FALSE(w.MIN_THREE_MESSAGE_TIMER.enabled());
    EXPECT_EQ(currentReport(), "no window titled 'SPIGOT-SERVER' was found");
    loop.advance(20);
    EXPECT_EQ(stderrLines.size(), 1u) << "a retry failing the same way is not written again";

    const WindowId server = console.openWindow("SPIGOT-SERVER");
    loop.advance(10);
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say three"}));
    EXPECT_EQ(console.transcript().front().atMs, 40000);
    EXPECT_TRUE(w.MIN_THREE_MESSAGE_TIMER.enabled());
    EXPECT_FALSE(w.AUTOSTART_TIMER.enabled());
    EXPECT_EQ(currentReport(), "") << "the report clears when the step succeeds";
}

TEST_F(Sequence, AStolenFocusFailsTheWholeStepAndTheRetryTypesTheWholeLine)
{
    storeTexts();
    storeValue("TWO_MIN_MESSAGE_TEXTBOX", "a long two-minute warning");
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    const WindowId chat = console.openWindow("chat");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(11);
    console.stealFocusAfterActivation(chat);
    loop.advance(60);
    EXPECT_EQ(console.typedInto(chat), "");
    EXPECT_EQ(console.typedInto(server), "say three{ENTER}") << "not one key of the failed step";
    EXPECT_EQ(currentReport(), "focus left the console window 'SPIGOT-SERVER'; nothing was typed");
    EXPECT_TRUE(w.MIN_THREE_MESSAGE_TIMER.enabled());
    loop.advance(60);
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say three", "say a long two-minute warning"}));
    EXPECT_EQ(console.focusedWindow(), chat) << "the window that had the focus has it again";
}

TEST_F(Sequence, AHeldKeyboardTypesNothingAndTheStepWaits)
{
    storeTexts();
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(restartMode);
    console.grabKeyboard(true);
    w.click(w.START_STOP_BUTTON);
    loop.advance(10);
    EXPECT_EQ(console.typedInto(server), "");
    EXPECT_EQ(currentReport(), "another program holds the keyboard; nothing was typed into 'SPIGOT-SERVER'");
    console.grabKeyboard(false);
    loop.advance(10);
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say three"}));
}

TEST_F(Sequence, AStepFailingForFiveMinutesEndsTheRun)
{
    storeTexts();
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(10 + 290);
    EXPECT_TRUE(w.AUTOSTART_TIMER.enabled()) << "still retrying after 4 min 50 s";
    loop.advance(10);
    expectAllTimersStopped();
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START");
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! ABORTED !!!");
    EXPECT_EQ(currentReport(), "gave up after 5 minutes: no window titled 'SPIGOT-SERVER' was found");
    EXPECT_FALSE(w.isUnloaded()) << "without AutoClose the window stays for the operator";
    EXPECT_EQ(w.exitStatus(), 0);
}

TEST_F(Sequence, ASuccessInBetweenStartsTheFiveMinutesAfresh)
{
    storeTexts();
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(10);
    console.closeWindow(server);
    loop.advance(60 * 4); // the 2-minute step fails from 70 s on
    const WindowId again = console.openWindow("SPIGOT-SERVER");
    loop.advance(60); // it succeeds at 310 s; the 1-minute step then fails
    EXPECT_TRUE(w.MIN_TWO_MESSAGE_TIMER.enabled());
    console.closeWindow(again);
    loop.advance(60 * 5); // fails from 370 s on; 600 s would be five minutes after the first failure at 70 s
    EXPECT_TRUE(w.MIN_TWO_MESSAGE_TIMER.enabled()) << "a new failure has five minutes of its own";
    loop.advance(60);
    expectAllTimersStopped();
    EXPECT_EQ(loop.nowMs(), 670000);
}

TEST_F(Sequence, UnderAutoCloseGivingUpClosesTheProgramWithStatusOne)
{
    storeTexts();
    storeValue("AUTOSTART_RESTART_TICKBOX", "1");
    storeValue("AUTOCLOSE_TICKBOX", "1");
    auto& w = start();
    loop.advance(310);
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(w.exitStatus(), 1);
    EXPECT_EQ(stored("AUTOSTART_RESTART_TICKBOX"), "1") << "the ticks are stored as they were";
    ASSERT_FALSE(stderrLines.empty());
    EXPECT_NE(stderrLines.back().find("gave up after 5 minutes: no window titled"), std::string::npos)
        << stderrLines.back();
}

// A step the console can never carry (screen's limit on one step) would fail
// the same way at every tick: the run ends at its first failure.
TEST_F(Sequence, AStepThatCanNeverBeDeliveredEndsTheRunAtOnce)
{
    storeTexts();
    storeValue("TWO_MIN_MESSAGE_TEXTBOX", "a two-minute warning longer than the console carries");
    storeValue("AUTOSTART_SHUTDOWN_TICKBOX", "1");
    storeValue("AUTOCLOSE_TICKBOX", "1");
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    console.limitStepKeys(20);
    auto& w = start();
    loop.advance(70);
    EXPECT_TRUE(w.isUnloaded()) << "the step was left to be retried";
    EXPECT_EQ(w.exitStatus(), 1);
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say three"}));
    ASSERT_FALSE(stderrLines.empty());
    EXPECT_NE(stderrLines.back().find("gave up at once: this step of 57 keys is too long for 'SPIGOT-SERVER'"),
              std::string::npos)
        << stderrLines.back();
}

TEST_F(Sequence, BadNotationIsRefusedAtStartAndNothingIsArmed)
{
    storeTexts();
    storeValue("TWO_MIN_MESSAGE_TEXTBOX", "Back soon :)");
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    EXPECT_EQ(currentReport().rfind("bad keystroke notation in the 2-minute message at position 12: ')'", 0), 0u)
        << currentReport();
    expectAllTimersStopped();
    EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START");
    EXPECT_TRUE(w.SETTINGS_BUTTON.enabled()) << "where the message can be fixed";
    loop.advance(300);
    EXPECT_EQ(console.typedInto(server), "");
}

// On a desktop the window is the only place the operator can read why and
// mend the text, AutoClose or not (a Windows program has no standard error).
TEST_F(Sequence, AStoredTickWithBadNotationIsNotArmedAndTheWindowStaysOpen)
{
    for (const char* autoClose : {"0", "1"}) {
        SCOPED_TRACE(autoClose);
        storeTexts();
        storeValue("SHUTDOWN_RESTART_MESSAGE_TEXTBOX", "50%");
        storeValue("AUTOSTART_SHUTDOWN_TICKBOX", "1");
        storeValue("AUTOCLOSE_TICKBOX", autoClose);
        auto& w = start();
        EXPECT_EQ(currentReport().rfind("bad keystroke notation in the final message", 0), 0u) << currentReport();
        expectAllTimersStopped();
        EXPECT_TRUE(w.SETTINGS_BUTTON.enabled()) << "where the message can be mended";
        loop.advance(60);
        EXPECT_FALSE(w.isUnloaded());
        EXPECT_EQ(w.AUTOCLOSE_TICKBOX.value(), autoClose == std::string("1") ? 1 : 0);
        EXPECT_EQ(stored("AUTOSTART_SHUTDOWN_TICKBOX"), "1");
    }
}

TEST_F(Sequence, AFailedSenderLeavesTheRunWaitingAndStopStillAborts)
{
    storeTexts();
    console.openWindow("SPIGOT-SERVER");
    console.failSenderCreation(true);
    auto& w = startReadyFor(restartMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(35);
    EXPECT_TRUE(console.transcript().empty());
    EXPECT_TRUE(w.AUTOSTART_TIMER.enabled());
    EXPECT_TRUE(w.click(w.START_STOP_BUTTON));
    expectAllTimersStopped();
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! ABORTED !!!");
}

TEST_F(Sequence, AFailedStopIsTriedAgainAtTheNextTick)
{
    expectCommandTriedAgain(shutdownMode, "stop");
}

TEST_F(Sequence, AFailedRestartIsTriedAgainAtTheNextTick)
{
    expectCommandTriedAgain(restartMode, "restart");
}

// The keys were handed over and the sender lost track of them (a client
// killed on its timeout): the line may arrive, so it is never typed again.
TEST_F(Sequence, ASayLineOfUnknownFateIsNotTypedAgainAndTheRunGoesOn)
{
    const WindowId server = runUntilTheSecondWarningsFateIsUnknown();
    auto& w = *main;
    EXPECT_NE(currentReport().find("; they may have arrived; the line is not typed again, the run goes on"),
              std::string::npos)
        << currentReport();
    EXPECT_FALSE(w.MIN_THREE_MESSAGE_TIMER.enabled());
    EXPECT_TRUE(w.MIN_TWO_MESSAGE_TIMER.enabled());
    loop.advance(140);
    EXPECT_EQ(console.linesTypedInto(server),
              (std::vector<std::string>{"say three", "say two", "say one", "say bye", "restart"}));
    EXPECT_EQ(console.transcript()[6].atMs, 130000) << "the 1-minute warning keeps its time";
}

TEST_F(Sequence, ALineOfUnknownFateStartsNoCountOfRetries)
{
    console.closeWindow(runUntilTheSecondWarningsFateIsUnknown());
    loop.advance(60 + 290); // the 1-minute warning fails from 130 s on
    EXPECT_TRUE(main->MIN_TWO_MESSAGE_TIMER.enabled()) << "five minutes from 130 s, not from 70 s";
}

TEST_F(Sequence, ACommandOfUnknownFateIsNeverTypedTwiceAndTheRunFails)
{
    for (const char* autoClose : {"0", "1"}) {
        SCOPED_TRACE(autoClose);
        storeTexts();
        storeValue("AUTOSTART_RESTART_TICKBOX", "1");
        storeValue("AUTOCLOSE_TICKBOX", autoClose);
        const WindowId server = console.openWindow("SPIGOT-SERVER");
        auto& w = start();
        loop.advance(195);
        console.loseTrackOfNextStep();
        loop.advance(5);
        loop.advance(600);
        EXPECT_EQ(console.linesTypedInto(server),
                  (std::vector<std::string>{"say three", "say two", "say one", "say bye", "restart"}));
        ASSERT_FALSE(stderrLines.empty());
        EXPECT_NE(stderrLines.back().find("; the command is not typed again, and the run ended as failed"),
                  std::string::npos)
            << stderrLines.back();
        EXPECT_TRUE(w.runFailed());
        EXPECT_EQ(w.isUnloaded(), autoClose == std::string("1"));
        EXPECT_EQ(w.exitStatus(), autoClose == std::string("1") ? 1 : 0);
        if (!w.isUnloaded()) {
            expectAllTimersStopped();
            EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "!!! ABORTED !!!");
            EXPECT_EQ(w.START_STOP_BUTTON.caption(), "START");
        }
        console.closeWindow(server);
    }
}

} // namespace
} // namespace vt::testing
