// The guarded SHUTDOWN NOW and RESTART NOW buttons.
#include "support/program_fixture.h"

namespace vt::testing {
namespace {

using ImmediateActions = ProgramTest;

TEST_F(ImmediateActions, TheGuardLocksAndUnlocksThePair)
{
    auto& w = start();
    EXPECT_FALSE(w.click(w.SHUTDOWN_NO_WARNINGS_BUTTON));
    w.click(w.ENABLE_NO_WARNINGS_BUTTON);
    EXPECT_EQ(w.ENABLE_NO_WARNINGS_BUTTON.caption(), "Disable");
    EXPECT_TRUE(w.SHUTDOWN_NO_WARNINGS_BUTTON.enabled());
    EXPECT_TRUE(w.RESTART_NO_WARNINGS_BUTTON.enabled());
    w.click(w.ENABLE_NO_WARNINGS_BUTTON);
    EXPECT_EQ(w.ENABLE_NO_WARNINGS_BUTTON.caption(), "Enable");
    EXPECT_FALSE(w.SHUTDOWN_NO_WARNINGS_BUTTON.enabled());
    EXPECT_FALSE(w.RESTART_NO_WARNINGS_BUTTON.enabled());
}

struct Immediate {
    const char* name;
    CommandButton VT_HALTWARD_MAIN::*button;
    const char* status;
    const char* command;
};

class EachImmediateAction : public ProgramTest, public ::testing::WithParamInterface<Immediate> {
protected:
    // The console open, AutoClose ticked and the pair unlocked.
    VT_HALTWARD_MAIN& startUnlockedUnderAutoClose()
    {
        storeTexts();
        storeValue("AUTOCLOSE_TICKBOX", "1");
        server = console.openWindow("SPIGOT-SERVER");
        auto& w = start();
        w.click(w.ENABLE_NO_WARNINGS_BUTTON);
        return w;
    }

    WindowId server{};
};

TEST_P(EachImmediateAction, TypesTheFinalTextAndTheCommandInOneStepAndChangesNothingElse)
{
    auto& w = startUnlockedUnderAutoClose();
    EXPECT_TRUE(w.click(w.*GetParam().button));
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), GetParam().status);
    EXPECT_EQ(console.activations(), 1);
    EXPECT_EQ(sentStrings(), (std::vector<std::string>{"say |W", "bye|W", "{ENTER}|-",
                                                       std::string(GetParam().command) + "{ENTER}|W"}));
    EXPECT_EQ(console.linesTypedInto(server), (std::vector<std::string>{"say bye", GetParam().command}));
    EXPECT_EQ(w.ENABLE_NO_WARNINGS_BUTTON.caption(), "Disable") << "the pair stays unlocked";
    EXPECT_FALSE(w.START_STOP_BUTTON.enabled());
    for (vt::Timer* timer : w.timers())
        EXPECT_FALSE(timer->enabled()) << timer->name();
    loop.advance(60);
    EXPECT_FALSE(w.isUnloaded()) << "AutoClose does not apply to the immediate actions";
}

TEST_P(EachImmediateAction, AMissingConsoleLeavesTheStatusAndTypesNothing)
{
    storeTexts("NOT-THERE");
    auto& w = start();
    w.click(w.ENABLE_NO_WARNINGS_BUTTON);
    w.click(w.*GetParam().button);
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), GetParam().status);
    EXPECT_TRUE(console.transcript().empty());
    EXPECT_EQ(currentReport(), "no window titled 'NOT-THERE' was found");
}

// The run's command has gone and AutoClose's tick is pending: the operator's
// command does not take the close away; it comes 10 s after this last command.
TEST_P(EachImmediateAction, AfterTheRunsCommandAutoCloseStillClosesTheProgram)
{
    auto& w = startUnlockedUnderAutoClose();
    w.click(w.AUTOSTART_SHUTDOWN_TICKBOX);
    w.click(w.START_STOP_BUTTON);
    loop.advance(205);
    ASSERT_EQ(console.linesTypedInto(server).back(), "stop");
    EXPECT_TRUE(w.click(w.*GetParam().button));
    EXPECT_EQ(console.linesTypedInto(server).back(), GetParam().command);
    loop.advance(9.9);
    EXPECT_FALSE(w.isUnloaded());
    loop.advance(0.1);
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(w.exitStatus(), 0);
}

INSTANTIATE_TEST_SUITE_P(Buttons, EachImmediateAction,
                         ::testing::Values(Immediate{"shutdown", &VT_HALTWARD_MAIN::SHUTDOWN_NO_WARNINGS_BUTTON,
                                                     "!!! SPIGOT SHUTDOWN STARTED !!!", "stop"},
                                           Immediate{"restart", &VT_HALTWARD_MAIN::RESTART_NO_WARNINGS_BUTTON,
                                                     "!!! SPIGOT RESTART STARTED !!!", "restart"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vt::testing
