// The guarded pair that stops or restarts the server at once: the final
// message and the command as one unit, no warnings. Pressed during a timed
// run, they end it: nothing is typed after the command. Pressed after the
// run's own command, they leave AutoClose's tick pending: the program still
// closes, 10 s after this last command.
#include <algorithm>

#include "app/vt_haltward_main.h"

namespace vt {

bool VT_HALTWARD_MAIN::runActive() const
{
    return std::any_of(runTimers_.begin(), runTimers_.end(), [](const Timer* timer) { return timer->enabled(); });
}

void VT_HALTWARD_MAIN::ENABLE_NO_WARNINGS_BUTTON_Click()
{
    if (ENABLE_NO_WARNINGS_BUTTON.caption() == "Enable") {
        ENABLE_NO_WARNINGS_BUTTON.setCaption("Disable");
        SHUTDOWN_NO_WARNINGS_BUTTON.setEnabled(true);
        RESTART_NO_WARNINGS_BUTTON.setEnabled(true);
    } else {
        ENABLE_NO_WARNINGS_BUTTON.setCaption("Enable");
        SHUTDOWN_NO_WARNINGS_BUTTON.setEnabled(false);
        RESTART_NO_WARNINGS_BUTTON.setEnabled(false);
    }
}

void VT_HALTWARD_MAIN::afterImmediateCommand()
{
    if (AUTOCLOSE_TIMER.enabled()) {
        AUTOCLOSE_TIMER.setEnabled(false);
        AUTOCLOSE_TIMER.setEnabled(true);
    } else if (runActive()) {
        endRun();
    }
}

// The final message and the command, one step, each watched as in a run.
void VT_HALTWARD_MAIN::immediateCommand(const std::string& keys, StepExpectation::Kind kind)
{
    const std::unique_ptr<KeySender> sender = ActivateServerConsole();
    SayOnServerConsole(*sender, SHUTDOWN_RESTART_MESSAGE_TEXTBOX);
    SendServerCommand(*sender, keys);
    outcomes_.expectSay(*sender, WINDOW_NAME_TEXTBOX.text(), messageOf(SHUTDOWN_RESTART_MESSAGE_TEXTBOX));
    outcomes_.expectCommand(*sender, WINDOW_NAME_TEXTBOX.text(), kind);
    deliverWatched(*sender);
    afterImmediateCommand();
}

void VT_HALTWARD_MAIN::SHUTDOWN_NO_WARNINGS_BUTTON_Click()
{
    CURRENT_STATUS_LABEL.setCaption("!!! SPIGOT SHUTDOWN STARTED !!!");
    immediateCommand("stop{Enter}", StepExpectation::Kind::Stop);
}

void VT_HALTWARD_MAIN::RESTART_NO_WARNINGS_BUTTON_Click()
{
    CURRENT_STATUS_LABEL.setCaption("!!! SPIGOT RESTART STARTED !!!");
    immediateCommand("restart{Enter}", StepExpectation::Kind::Restart);
}

} // namespace vt
