#pragma once

#include <string_view>

#include "platform/keys/key_action.h"

namespace vt {

// Turns a string in keystroke notation into the keys it stands for, before
// anything is typed. Throws NotationError, naming the position (in code points,
// counted from 1) and the offending token, when the string is not valid.
KeyActions parseKeystrokes(std::string_view notation);

} // namespace vt
