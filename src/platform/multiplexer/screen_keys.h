#pragma once

#include <string>

#include "platform/keys/key_action.h"

namespace vt::multiplexer {

// screen reads a "stuff" argument as a string with escapes: "\\", "\^", "\$"
// and "\ooo" (octal) stand for themselves, a bare "^X" is a control character
// and "$NAME" an environment variable. This returns the argument that makes
// screen type exactly these keys: text with those three characters escaped
// and control characters in octal, named keys as the bytes a terminal sends
// (Enter CR, Up ESC [ A, F5 ESC [ 15 ~ ...), Alt as a leading ESC. Throws
// KeySenderFailed, before anything is typed, for a key screen cannot send or
// a step longer than kMaxStuffBytes.
std::string screenStuffText(const KeyActions& keys);

// screen drops a longer command silently (measured with screen 4.09: 700
// bytes arrived, 760 did not), so a longer step is refused instead.
inline constexpr std::size_t kMaxStuffBytes = 512;

} // namespace vt::multiplexer
