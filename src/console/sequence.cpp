// The warned stop/restart: START arms a chain of six timers; each handler does
// its step, starts the next timer and stops its own. A console step that fails
// ends its handler before that, so its timer stays enabled and the step is
// tried again at the next tick: a run waits for a missing console rather than
// skipping a warning, for five minutes at most. STOP aborts at any point.
#include "app/vt_haltward_main.h"
#include "console/message_notation.h"
#include "platform/failures.h"

namespace vt {

void VT_HALTWARD_MAIN::START_STOP_BUTTON_Click()
{
    if (START_STOP_BUTTON.caption() == "START") {
        // A message that can never be typed would fail its step at every tick.
        checkMessageNotation(messages());
        firstFailureMs_.reset();
        outcomes_.newRun();
        START_STOP_BUTTON.setCaption("STOP");
        AUTOSTART_TIMER.setEnabled(true);
        CURRENT_STATUS_LABEL.setCaption("!!! STARTING IN 10 SECONDS !!!");
        AUTOSTART_SHUTDOWN_TICKBOX.setEnabled(false);
        AUTOSTART_RESTART_TICKBOX.setEnabled(false);
        ENABLE_NO_WARNINGS_BUTTON.setEnabled(false);
        SETTINGS_BUTTON.setEnabled(false);
    } else {
        endRun();
        CURRENT_STATUS_LABEL.setCaption("!!! ABORTED !!!");
    }
}

// Stops every timer of the run and unlocks the window, as STOP does.
void VT_HALTWARD_MAIN::endRun()
{
    START_STOP_BUTTON.setCaption("START");
    stopAllTimers();
    AUTOSTART_SHUTDOWN_TICKBOX.setEnabled(true);
    AUTOSTART_RESTART_TICKBOX.setEnabled(true);
    ENABLE_NO_WARNINGS_BUTTON.setEnabled(true);
    SETTINGS_BUTTON.setEnabled(true);
    firstFailureMs_.reset();
}

// Ticking one mode unticks and disables the other; unticking it clears the mode.
void VT_HALTWARD_MAIN::AUTOSTART_SHUTDOWN_TICKBOX_Click()
{
    if (AUTOSTART_SHUTDOWN_TICKBOX.value() == 1) {
        AUTOSTART_RESTART_TICKBOX.setEnabled(false);
        START_STOP_BUTTON.setEnabled(true);
        AUTOSTART_RESTART_TICKBOX.setValue(0);
    } else {
        AUTOSTART_RESTART_TICKBOX.setEnabled(true);
        START_STOP_BUTTON.setEnabled(false);
        START_STOP_BUTTON.setCaption("START");
        stopAllTimers();
    }
}

void VT_HALTWARD_MAIN::AUTOSTART_RESTART_TICKBOX_Click()
{
    if (AUTOSTART_RESTART_TICKBOX.value() == 1) {
        AUTOSTART_SHUTDOWN_TICKBOX.setEnabled(false);
        START_STOP_BUTTON.setEnabled(true);
        AUTOSTART_SHUTDOWN_TICKBOX.setValue(0);
    } else {
        AUTOSTART_SHUTDOWN_TICKBOX.setEnabled(true);
        START_STOP_BUTTON.setEnabled(false);
        START_STOP_BUTTON.setCaption("START");
        stopAllTimers();
    }
}

void VT_HALTWARD_MAIN::AUTOSTART_TIMER_Timer()
{
    START_STOP_BUTTON.setCaption("STOP");
    ENABLE_NO_WARNINGS_BUTTON.setEnabled(false);
    CURRENT_STATUS_LABEL.setCaption("SPIGOT SHUTDOWN IN 3 MINS");
    sayInRun(THREE_MIN_MESSAGE_TEXTBOX, MIN_THREE_MESSAGE_TIMER, AUTOSTART_TIMER);
}

void VT_HALTWARD_MAIN::MIN_THREE_MESSAGE_TIMER_Timer()
{
    CURRENT_STATUS_LABEL.setCaption("SPIGOT SHUTDOWN IN 2 MINS");
    sayInRun(TWO_MIN_MESSAGE_TEXTBOX, MIN_TWO_MESSAGE_TIMER, MIN_THREE_MESSAGE_TIMER);
}

void VT_HALTWARD_MAIN::MIN_TWO_MESSAGE_TIMER_Timer()
{
    CURRENT_STATUS_LABEL.setCaption("SPIGOT SHUTDOWN IN 1 MIN");
    sayInRun(ONE_MIN_MESSAGE_TEXTBOX, MIN_ONE_MESSAGE_TIMER, MIN_TWO_MESSAGE_TIMER);
}

void VT_HALTWARD_MAIN::MIN_ONE_MESSAGE_TIMER_Timer()
{
    if (AUTOSTART_SHUTDOWN_TICKBOX.value() == 1)
        CURRENT_STATUS_LABEL.setCaption("!!! SPIGOT SHUTTING DOWN !!!");
    if (AUTOSTART_RESTART_TICKBOX.value() == 1)
        CURRENT_STATUS_LABEL.setCaption("!!! SPIGOT RESTARTING !!!");
    sayInRun(SHUTDOWN_RESTART_MESSAGE_TEXTBOX, SHUTDOWN_RESTART_MESSAGE_TIMER, MIN_ONE_MESSAGE_TIMER);
}

void VT_HALTWARD_MAIN::SHUTDOWN_RESTART_MESSAGE_TIMER_Timer()
{
    if (AUTOSTART_SHUTDOWN_TICKBOX.value() == 1) {
        commandInRun("stop{Enter}", StepExpectation::Kind::Stop);
        AUTOCLOSE_TIMER.setEnabled(true);
    }
    if (AUTOSTART_RESTART_TICKBOX.value() == 1) {
        commandInRun("restart{Enter}", StepExpectation::Kind::Restart);
        AUTOCLOSE_TIMER.setEnabled(true);
    }
    // Only now, in either mode: a command that failed has left this timer
    // running, so that it is tried again at the next tick.
    SHUTDOWN_RESTART_MESSAGE_TIMER.setEnabled(false);
    if (AUTOCLOSE_TICKBOX.value() == 1)
        CURRENT_STATUS_LABEL.setCaption("!!! AUTOCLOSING IN 10 SECONDS !!!");
    else
        CURRENT_STATUS_LABEL.setCaption("FINISHING...");
}

void VT_HALTWARD_MAIN::AUTOCLOSE_TIMER_Timer()
{
    if (AUTOCLOSE_TICKBOX.value() == 1) {
        AUTOCLOSE_TIMER.setEnabled(false);
        closedByAutoClose_ = true;
        unload();
        return;
    }
    AUTOCLOSE_TIMER.setEnabled(false);
    ENABLE_NO_WARNINGS_BUTTON.setEnabled(true);
    START_STOP_BUTTON.setCaption("START");
    SETTINGS_BUTTON.setEnabled(true);
    CURRENT_STATUS_LABEL.setCaption("READY...");
    if (AUTOSTART_SHUTDOWN_TICKBOX.value() == 1)
        AUTOSTART_SHUTDOWN_TICKBOX.setEnabled(true);
    if (AUTOSTART_RESTART_TICKBOX.value() == 1)
        AUTOSTART_RESTART_TICKBOX.setEnabled(true);
}

// Without a display SIGTERM, SIGINT and SIGHUP close the window as its close
// box would. A run cut short before its command was typed did not do its
// job: that is said, with the step it stopped before, and the exit status
// tells a scheduler. Once the command is typed the run has completed, and
// closing during AutoClose's wait cuts nothing short; a wait for the
// server's outcome ends at once, with what is known.
bool VT_HALTWARD_MAIN::closeRequested(const std::string& cause)
{
    const std::optional<std::string> next = stepAhead();
    if (!next) {
        if (outcomes_.commandPending())
            outcomes_.closeRequested(cause);
        return close();
    }
    endRun();
    runAborted_ = true;
    CURRENT_STATUS_LABEL.setCaption("!!! ABORTED !!!");
    close();
    throw Failure("the run was aborted by " + cause + " before " + *next + "; nothing more is typed");
}

// The console step the run is waiting to do, if any.
std::optional<std::string> VT_HALTWARD_MAIN::stepAhead() const
{
    if (AUTOSTART_TIMER.enabled())
        return "the 3-minute warning";
    if (MIN_THREE_MESSAGE_TIMER.enabled())
        return "the 2-minute warning";
    if (MIN_TWO_MESSAGE_TIMER.enabled())
        return "the 1-minute warning";
    if (MIN_ONE_MESSAGE_TIMER.enabled())
        return "the final message";
    if (SHUTDOWN_RESTART_MESSAGE_TIMER.enabled())
        return AUTOSTART_RESTART_TICKBOX.value() == 1 ? "the restart command" : "the stop command";
    return std::nullopt;
}

} // namespace vt
