#pragma once

#include <string>
#include <vector>

namespace vt {

// A text typed on the console, as the operator knows it.
struct MessageText {
    std::string description; // "3-minute message"
    std::string text;
};

// The four messages in the order they are typed, with their descriptions.
std::vector<MessageText> runMessages(std::string threeMinutes, std::string twoMinutes, std::string oneMinute,
                                     std::string final);

// Throws NotationError naming the message, the position and the token when a
// text is not valid keystroke notation. A message that can never be typed is
// refused before it is stored or a run is armed, not retried at every tick.
void checkMessageNotation(const std::vector<MessageText>& messages);

// The characters a message puts on the console line when typed: its
// notation's plain characters, without named keys or keys pressed with Ctrl
// or Alt. This is what the server repeats after "[Server] " for `say`.
std::string typedCharacters(const std::string& notation);

} // namespace vt
