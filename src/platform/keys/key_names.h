#pragma once

#include <optional>
#include <string_view>

#include "platform/keys/key_action.h"

namespace vt {

// The named key that a brace name stands for, ignoring letter case
// ("enter", "BS", "F12"); nothing for an unknown name.
std::optional<NamedKey> namedKeyFromName(std::string_view name);

} // namespace vt
