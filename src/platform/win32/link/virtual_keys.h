#pragma once

#include "platform/keys/key_action.h"

namespace vt::win32 {

struct VirtualKey {
    unsigned short code = 0;
    bool extended = false; // sits on the extended part of the keyboard (arrows, Insert, ...)
    wchar_t character = 0; // what the key types by itself, for console input records
};

VirtualKey virtualKeyOf(NamedKey key);

} // namespace vt::win32
