#include "console/message_notation.h"

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"
#include "platform/keys/utf8.h"

namespace vt {

std::vector<MessageText> runMessages(std::string threeMinutes, std::string twoMinutes, std::string oneMinute,
                                     std::string final)
{
    return {{"3-minute message", std::move(threeMinutes)},
            {"2-minute message", std::move(twoMinutes)},
            {"1-minute message", std::move(oneMinute)},
            {"final message", std::move(final)}};
}

void checkMessageNotation(const std::vector<MessageText>& messages)
{
    for (const MessageText& message : messages) {
        try {
            parseKeystrokes(message.text);
        } catch (const NotationError& error) {
            throw NotationError(error.position(), error.token(),
                                "bad keystroke notation in the " + message.description + " at position " +
                                    std::to_string(error.position()) + ": '" + error.token() +
                                    "'; fix it in Settings & Messages");
        }
    }
}

std::string typedCharacters(const std::string& notation)
{
    std::string typed;
    for (const KeyAction& action : parseKeystrokes(notation)) {
        const auto* character = std::get_if<char32_t>(&action.key);
        if (character && !action.modifiers.control && !action.modifiers.alt)
            appendUtf8(typed, *character);
    }
    return typed;
}

} // namespace vt
