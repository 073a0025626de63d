// The guarded pair that stops or restarts the server at once: the final
// message and the command, no warnings. They touch nothing of a timed run.
#include "app/vt_haltward_main.h"

namespace vt {

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

void VT_HALTWARD_MAIN::SHUTDOWN_NO_WARNINGS_BUTTON_Click()
{
    CURRENT_STATUS_LABEL.setCaption("!!! SPIGOT SHUTDOWN STARTED !!!");
    const std::unique_ptr<KeySender> sender = ActivateServerConsole();
    SayOnServerConsole(*sender, SHUTDOWN_RESTART_MESSAGE_TEXTBOX);
    SendServerCommand(*sender, "stop{Enter}");
}

void VT_HALTWARD_MAIN::RESTART_NO_WARNINGS_BUTTON_Click()
{
    CURRENT_STATUS_LABEL.setCaption("!!! SPIGOT RESTART STARTED !!!");
    const std::unique_ptr<KeySender> sender = ActivateServerConsole();
    SayOnServerConsole(*sender, SHUTDOWN_RESTART_MESSAGE_TEXTBOX);
    SendServerCommand(*sender, "restart{Enter}");
}

} // namespace vt
