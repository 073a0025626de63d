#pragma once

#include <string>
#include <vector>

#include "platform/keys/key_action.h"

namespace vt::multiplexer {

// The arguments after "tmux" that type keys into target in one client call:
// runs of plain characters as "send-keys -t TARGET -l -- TEXT", every other
// key as "send-keys -t TARGET NAME", chained with ";" arguments. Throws
// KeySenderFailed, before anything is typed, for a key tmux cannot send (tmux
// itself would type an unknown key name as its letters).
std::vector<std::string> tmuxTypingArgs(const std::string& target, const KeyActions& keys);

// tmux's name for one key that is not plain text ("Enter", "C-c", "M-F5",
// "BTab"); throws KeySenderFailed when tmux has none.
std::string tmuxKeyName(const KeyAction& key);

} // namespace vt::multiplexer
