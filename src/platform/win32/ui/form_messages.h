#pragma once

#include <windows.h>

namespace vt::win32 {

// Keyboard navigation for the forms' windows, before a message is
// translated: Enter goes to the form (the focused button, else the default
// button), Tab and the arrow keys go through IsDialogMessage. True when the
// message was handled and must not be dispatched.
bool routeFormMessage(MSG& message);

} // namespace vt::win32
