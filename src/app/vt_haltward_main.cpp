#include "app/vt_haltward_main.h"

#include "app/program.h"
#include "dialogs/vt_haltward_about.h"
#include "dialogs/vt_haltward_message_settings.h"
#include "platform/failures.h"
#include "settings/settings.h"

namespace vt {

namespace {

constexpr WindowStyle kMainStyle{10485, 5100, true, 8.25};
const Look kBold = boldLook(8.25);
const Look kDisplay = displayLook(9.75);

} // namespace

VT_HALTWARD_MAIN::VT_HALTWARD_MAIN(Services& services)
    : Form(services, "VT_HALTWARD_MAIN", "VT-HALTWARD", kMainStyle),
      START_STOP_BUTTON(*this, "START_STOP_BUTTON", {9120, 240, 1215, 735}, 0, "START"),
      ENABLE_NO_WARNINGS_BUTTON(*this, "ENABLE_NO_WARNINGS_BUTTON", {240, 1200, 735, 495}, 1, "Enable"),
      SHUTDOWN_NO_WARNINGS_BUTTON(*this, "SHUTDOWN_NO_WARNINGS_BUTTON", {1080, 1200, 1215, 495}, 2, "SHUTDOWN NOW"),
      RESTART_NO_WARNINGS_BUTTON(*this, "RESTART_NO_WARNINGS_BUTTON", {2400, 1200, 1095, 495}, 3, "RESTART NOW"),
      AUTOSTART_SHUTDOWN_TICKBOX(*this, "AUTOSTART_SHUTDOWN_TICKBOX", {3720, 1320, 2055, 195}, 4, "AutoStart SHUTDOWN"),
      AUTOSTART_RESTART_TICKBOX(*this, "AUTOSTART_RESTART_TICKBOX", {3720, 1560, 1815, 195}, 5, "AutoStart RESTART"),
      AUTOCLOSE_TICKBOX(*this, "AUTOCLOSE_TICKBOX", {5880, 1320, 1095, 255}, 6, "AutoClose"),
      SETTINGS_BUTTON(*this, "SETTINGS_BUTTON", {7080, 1320, 1695, 375}, 7, "Settings && Messages"),
      EXIT_BUTTON(*this, "EXIT_BUTTON", {9120, 1320, 1215, 375}, 8, "Exit"),
      ABOUT_BUTTON(*this, "ABOUT_BUTTON", {240, 600, 1695, 255}, 9, "About"),
      STATUS_LABEL(*this, "STATUS_LABEL", {2160, 240, 855, 255}, 10, "STATUS:", kBold),
      CURRENT_STATUS_LABEL(*this, "CURRENT_STATUS_LABEL", {3000, 120, 6015, 375}, 11, "READY...", kDisplay),
      APP_EXE_NAME_TEXTBOX(*this, "APP_EXE_NAME_TEXTBOX", {4680, 840, 4335, 375}, 12, "App.EXEName", kDisplay),
      EXE_NAME_LABEL(*this, "EXE_NAME_LABEL", {3720, 960, 975, 255}, 13, "EXE FILE:", kBold),
      VT_HALTWARD_TITLE_1(*this, "VT_HALTWARD_TITLE_1", {120, 120, 1935, 375}, 14, "VT-HALTWARD", kDisplay),
      NO_WARNINGS_FRAME(*this, "NO_WARNINGS_FRAME", {120, 960, 3495, 855}, 15, "!!! NO WARNINGS !!!", kRed),
      SERVER_NAME_LABEL(*this, "SERVER_NAME_LABEL", {3600, 480, 5415, 375}, 16, "SERVER NAME", kDisplay),
      S_N_LABEL(*this, "S_N_LABEL", {2160, 600, 1455, 255}, 17, "SERVER NAME:", kBold),
      THREE_MIN_MESSAGE_TEXTBOX(*this, "THREE_MIN_MESSAGE_TEXTBOX", {1920, 2400, 3255, 375}, 18,
                                "THREE_MIN_MESSAGE_TEXTBOX", kBold),
      TWO_MIN_MESSAGE_TEXTBOX(*this, "TWO_MIN_MESSAGE_TEXTBOX", {5280, 2400, 3015, 375}, 19, "TWO_MIN_MESSAGE_TEXTBOX",
                              kBold),
      ONE_MIN_MESSAGE_TEXTBOX(*this, "ONE_MIN_MESSAGE_TEXTBOX", {1920, 2880, 3015, 375}, 20, "ONE_MIN_MESSAGE_TEXTBOX",
                              kBold),
      SHUTDOWN_RESTART_MESSAGE_TEXTBOX(*this, "SHUTDOWN_RESTART_MESSAGE_TEXTBOX", {5040, 2880, 4215, 375}, 21,
                                       "SHUTDOWN_RESTART_MESSAGE_TEXTBOX", kBold),
      WINDOW_NAME_TEXTBOX(*this, "WINDOW_NAME_TEXTBOX", {1920, 3360, 7815, 375}, 22, "WINDOW_NAME_TEXTBOX", kBold),
      AUTOSTART_TIMER(*this, "AUTOSTART_TIMER"), MIN_THREE_MESSAGE_TIMER(*this, "MIN_THREE_MESSAGE_TIMER"),
      MIN_TWO_MESSAGE_TIMER(*this, "MIN_TWO_MESSAGE_TIMER"), MIN_ONE_MESSAGE_TIMER(*this, "MIN_ONE_MESSAGE_TIMER"),
      SHUTDOWN_RESTART_MESSAGE_TIMER(*this, "SHUTDOWN_RESTART_MESSAGE_TIMER"), AUTOCLOSE_TIMER(*this, "AUTOCLOSE_TIMER"),
      outcomes_(services, services.stopWaitMs)
{
    outcomes_.load();
    START_STOP_BUTTON.setEnabled(false);
    START_STOP_BUTTON.setDefault(true);
    SHUTDOWN_NO_WARNINGS_BUTTON.setEnabled(false);
    RESTART_NO_WARNINGS_BUTTON.setEnabled(false);
    for (TextBox* hidden : {&THREE_MIN_MESSAGE_TEXTBOX, &TWO_MIN_MESSAGE_TEXTBOX, &ONE_MIN_MESSAGE_TEXTBOX,
                            &SHUTDOWN_RESTART_MESSAGE_TEXTBOX, &WINDOW_NAME_TEXTBOX})
        hidden->setVisible(false);
    wireEvents();
}

void VT_HALTWARD_MAIN::wireEvents()
{
    START_STOP_BUTTON.onClick = [this] { START_STOP_BUTTON_Click(); };
    ENABLE_NO_WARNINGS_BUTTON.onClick = [this] { ENABLE_NO_WARNINGS_BUTTON_Click(); };
    SHUTDOWN_NO_WARNINGS_BUTTON.onClick = [this] { SHUTDOWN_NO_WARNINGS_BUTTON_Click(); };
    RESTART_NO_WARNINGS_BUTTON.onClick = [this] { RESTART_NO_WARNINGS_BUTTON_Click(); };
    AUTOSTART_SHUTDOWN_TICKBOX.onClick = [this] { AUTOSTART_SHUTDOWN_TICKBOX_Click(); };
    AUTOSTART_RESTART_TICKBOX.onClick = [this] { AUTOSTART_RESTART_TICKBOX_Click(); };
    SETTINGS_BUTTON.onClick = [this] { SETTINGS_BUTTON_Click(); };
    EXIT_BUTTON.onClick = [this] { EXIT_BUTTON_Click(); };
    ABOUT_BUTTON.onClick = [this] { ABOUT_BUTTON_Click(); };
    AUTOSTART_TIMER.onTimer = [this] { AUTOSTART_TIMER_Timer(); };
    MIN_THREE_MESSAGE_TIMER.onTimer = [this] { MIN_THREE_MESSAGE_TIMER_Timer(); };
    MIN_TWO_MESSAGE_TIMER.onTimer = [this] { MIN_TWO_MESSAGE_TIMER_Timer(); };
    MIN_ONE_MESSAGE_TIMER.onTimer = [this] { MIN_ONE_MESSAGE_TIMER_Timer(); };
    SHUTDOWN_RESTART_MESSAGE_TIMER.onTimer = [this] { SHUTDOWN_RESTART_MESSAGE_TIMER_Timer(); };
    AUTOCLOSE_TIMER.onTimer = [this] { AUTOCLOSE_TIMER_Timer(); };
}

void VT_HALTWARD_MAIN::Form_Load()
{
    const Settings settings = Settings::loaded(services());
    setLeft(settings.readTwips(key::MainLeft));
    setTop(settings.readTwips(key::MainTop));
    setWidth(settings.readTwips(key::MainWidth));
    setHeight(settings.readTwips(key::MainHeight));
    APP_EXE_NAME_TEXTBOX.setCaption(services().exeName());
    setCaption("VT-HALTWARD - " + services().exeName());
    loadTicks(settings);
    SERVER_NAME_LABEL.setCaption(settings.readText(key::ServerName));
    THREE_MIN_MESSAGE_TEXTBOX.setText(settings.readText(key::ThreeMinMessage));
    TWO_MIN_MESSAGE_TEXTBOX.setText(settings.readText(key::TwoMinMessage));
    ONE_MIN_MESSAGE_TEXTBOX.setText(settings.readText(key::OneMinMessage));
    SHUTDOWN_RESTART_MESSAGE_TEXTBOX.setText(settings.readText(key::ShutdownRestartMessage));
    WINDOW_NAME_TEXTBOX.setText(settings.readText(key::WindowName));
    AUTOSTART_TIMER.setInterval(10000);
    AUTOCLOSE_TIMER.setInterval(10000);
    MIN_THREE_MESSAGE_TIMER.setInterval(60000);
    MIN_TWO_MESSAGE_TIMER.setInterval(60000);
    MIN_ONE_MESSAGE_TIMER.setInterval(60000);
    SHUTDOWN_RESTART_MESSAGE_TIMER.setInterval(10000);
    if (AUTOSTART_SHUTDOWN_TICKBOX.value() == 1)
        armAtStart(AUTOSTART_RESTART_TICKBOX, AUTOSTART_SHUTDOWN_TICKBOX);
    if (AUTOSTART_RESTART_TICKBOX.value() == 1)
        armAtStart(AUTOSTART_SHUTDOWN_TICKBOX, AUTOSTART_RESTART_TICKBOX);
}

// A stored message that can never be typed: the run is not armed. The window
// stays open whatever AutoClose says: on a desktop the report in it is the
// only place the operator learns why (a Windows program has no standard
// error), and Settings & Messages is where the text is mended. Without a
// display the caller ends the program with status 1 instead.
void VT_HALTWARD_MAIN::refuseToArm(const NotationError& error)
{
    armingRefused_ = true;
    throw Failure(std::string(error.what()) + "; the stored AutoStart run was not armed");
}

// Assigning the stored ticks raises the tickboxes' Click handlers, which keep
// at most one mode ticked. Both stored as 1 can only be an outside edit: the
// shutdown tick wins and the restart tick loads as 0, with a report, instead
// of arming both runs at once.
void VT_HALTWARD_MAIN::loadTicks(const Settings& settings)
{
    AUTOSTART_SHUTDOWN_TICKBOX.setValue(settings.readTick(key::AutostartShutdown));
    std::int16_t restart = settings.readTick(key::AutostartRestart);
    if (restart == 1 && AUTOSTART_SHUTDOWN_TICKBOX.value() == 1) {
        settings.reportUnused(key::AutostartRestart, "1", "conflicts with AUTOSTART_SHUTDOWN_TICKBOX=1");
        restart = 0;
    }
    AUTOSTART_RESTART_TICKBOX.setValue(restart);
    AUTOCLOSE_TICKBOX.setValue(settings.readTick(key::Autoclose));
}

// A stored mode arms the start delay, leaving the window as START would,
// apart from the status text.
void VT_HALTWARD_MAIN::armAtStart(TickBox& first, TickBox& second)
{
    try {
        checkMessageNotation(messages());
    } catch (const NotationError& error) {
        refuseToArm(error);
    }
    firstFailureMs_.reset();
    outcomes_.newRun();
    first.setEnabled(false);
    second.setEnabled(false);
    CURRENT_STATUS_LABEL.setCaption("STARTING IN 10 SECS...");
    START_STOP_BUTTON.setCaption("STOP");
    START_STOP_BUTTON.setEnabled(true);
    SETTINGS_BUTTON.setEnabled(false);
    ENABLE_NO_WARNINGS_BUTTON.setEnabled(false);
    AUTOSTART_TIMER.setEnabled(true);
}

// One write: the ticks that arm the next start are stored together or not at all.
void VT_HALTWARD_MAIN::storePlacementAndTicks()
{
    Settings(services())
        .writeAll({
            {&key::MainLeft, formatTwips(left())},
            {&key::MainTop, formatTwips(top())},
            {&key::AutostartShutdown, formatTick(AUTOSTART_SHUTDOWN_TICKBOX.value())},
            {&key::AutostartRestart, formatTick(AUTOSTART_RESTART_TICKBOX.value())},
            {&key::Autoclose, formatTick(AUTOCLOSE_TICKBOX.value())},
        });
}

void VT_HALTWARD_MAIN::Form_Unload(int& cancel)
{
    (void)cancel;
    storePlacementAndTicks();
}

void VT_HALTWARD_MAIN::EXIT_BUTTON_Click()
{
    storePlacementAndTicks();
    unload();
}

void VT_HALTWARD_MAIN::ABOUT_BUTTON_Click()
{
    VT_HALTWARD_ABOUT about(services());
    about.showModal(*this);
}

void VT_HALTWARD_MAIN::SETTINGS_BUTTON_Click()
{
    VT_HALTWARD_MESSAGE_SETTINGS messageSettings(services(), *this);
    messageSettings.showModal(*this);
}

void VT_HALTWARD_MAIN::stopAllTimers()
{
    for (Timer* timer : runTimers_)
        timer->setEnabled(false);
}

int VT_HALTWARD_MAIN::exitStatus() const
{
    if (exitStatus_ != 0)
        return exitStatus_;
    return outcomes_.serverDidNotObey() ? kServerDidNotObey : kRunCompleted;
}

// Only AutoClose's close waits: the run's last step is the command, and a
// scheduler learns from the exit status whether the server obeyed it. The
// close box, Exit or a signal end the program at once.
void VT_HALTWARD_MAIN::awaitCommandOutcome()
{
    if (closedByAutoClose_)
        outcomes_.awaitCommandOutcome();
}

// Under AutoClose nobody may be there to read the report of a failed run:
// the program ends, with status 1 for whatever started it.
void VT_HALTWARD_MAIN::closeIfUnattended()
{
    if (AUTOCLOSE_TICKBOX.value() == 1) {
        exitStatus_ = 1;
        unload();
    }
}

} // namespace vt
