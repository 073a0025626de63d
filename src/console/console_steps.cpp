#include "app/vt_haltward_main.h"
#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

namespace vt {

namespace {

// How the operator knows each message, for reports.
std::string messageDescription(const TextBox& message)
{
    const std::string& name = message.name();
    if (name == "THREE_MIN_MESSAGE_TEXTBOX")
        return "3-minute message";
    if (name == "TWO_MIN_MESSAGE_TEXTBOX")
        return "2-minute message";
    if (name == "ONE_MIN_MESSAGE_TEXTBOX")
        return "1-minute message";
    return "final message";
}

// The message is checked before "say " is typed, so that bad notation leaves
// no half-typed "say " on the console's command line.
void checkNotation(const TextBox& message)
{
    try {
        parseKeystrokes(message.text());
    } catch (const NotationError& error) {
        throw NotationError(error.position(), error.token(),
                            "bad keystroke notation in the " + messageDescription(message) + " at position " +
                                std::to_string(error.position()) + ": '" + error.token() +
                                "'; fix it in Settings & Messages");
    }
}

} // namespace

std::unique_ptr<KeySender> VT_HALTWARD_MAIN::ActivateServerConsole()
{
    return services().console.activate(WINDOW_NAME_TEXTBOX.text());
}

void VT_HALTWARD_MAIN::SayOnServerConsole(KeySender& sender, const TextBox& message)
{
    checkNotation(message);
    sender.sendKeys("say ", true);
    sender.sendKeys(message.text(), true);
    sender.sendKeys("{Enter}", false);
}

void VT_HALTWARD_MAIN::SendServerCommand(KeySender& sender, const std::string& keys)
{
    sender.sendKeys(keys, true);
}

} // namespace vt
