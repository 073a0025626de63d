#include "console/message_notation.h"

#include "platform/failures.h"
#include "platform/keys/keystroke_notation.h"

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

} // namespace vt
