#pragma once

#include <windows.h>

#include "platform/win32/link/foreground.h"

namespace vt::win32 {

// The real system calls behind bringToFront for one target window.
ForegroundCalls systemForegroundCalls(HWND target);

} // namespace vt::win32
