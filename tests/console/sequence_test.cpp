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
};

const std::vector<std::string> kShutdownKeys{
    "10|say |W",  "10|three|W", "10|{ENTER}|-", "70|say |W",  "70|two|W",     "70|{ENTER}|-", "130|say |W",
    "130|one|W",  "130|{ENTER}|-", "190|say |W", "190|bye|W", "190|{ENTER}|-", "200|stop{ENTER}|W",
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
    EXPECT_FALSE(loop.reports().current());
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
    EXPECT_TRUE(w.MIN_THREE_MESSAGE_TIMER.enabled()) << "the immediate action does not stop the run";
    loop.advance(50);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "SPIGOT SHUTDOWN IN 2 MINS") << "the run's next step overwrites it";
    EXPECT_EQ(console.linesTypedInto(server),
              (std::vector<std::string>{"say three", "say bye", "stop", "say two"}));
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
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say first", "second", "say {+}1 +a ^c^v {{}x{}} %{F4}", "say "}))
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
    EXPECT_EQ(console.focusedWindow(), second) << "the console stays the active window after a step";
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

TEST_F(Sequence, FocusStolenMidLineStopsTypingAndTheStepIsRetried)
{
    storeTexts();
    storeValue("TWO_MIN_MESSAGE_TEXTBOX", "a long two-minute warning");
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    const WindowId chat = console.openWindow("chat");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(11);
    console.stealFocusAfter(7, chat);
    loop.advance(60);
    EXPECT_EQ(console.typedInto(chat), "") << "no key after the theft reaches any window";
    EXPECT_EQ(console.typedInto(server), "say three{ENTER}say a l");
    EXPECT_EQ(currentReport(), "focus left the console window 'SPIGOT-SERVER'; typing stopped");
    EXPECT_TRUE(w.MIN_THREE_MESSAGE_TIMER.enabled());
    loop.advance(60);
    EXPECT_EQ(console.linesTypedInto(server).back(), "say a lsay a long two-minute warning");
}

TEST_F(Sequence, BadNotationInAMessageTypesNothingOfThatLine)
{
    storeTexts();
    storeValue("TWO_MIN_MESSAGE_TEXTBOX", "abcdef{ENTR}");
    const WindowId server = console.openWindow("SPIGOT-SERVER");
    auto& w = startReadyFor(shutdownMode);
    w.click(w.START_STOP_BUTTON);
    loop.advance(71);
    EXPECT_EQ(console.typedInto(server), "say three{ENTER}");
    EXPECT_EQ(currentReport().rfind("bad keystroke notation in the 2-minute message at position 7: '{ENTR}'", 0), 0u)
        << currentReport();
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), "SPIGOT SHUTDOWN IN 2 MINS");
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

} // namespace
} // namespace vt::testing
