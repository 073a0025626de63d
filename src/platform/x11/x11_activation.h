#pragma once

#include <X11/Xlib.h>

namespace vt::x11 {

// The input focus is on the window or on one of its descendants (xterm and
// other toolkits focus a child of their top-level window).
bool focusWithin(Display* display, Window window);

// Where the focus was before a console was activated, to hand it back after
// the step: the focus window (or PointerRoot, or None) and, under a window
// manager, the active top-level window.
struct FocusBefore {
    Window focus = None;
    Window active = None;
};
FocusBefore focusBefore(Display* display, bool managed);
void restoreFocus(Display* display, const FocusBefore& before);

// Brings the window to the front and gives it the focus: through the window
// manager when one runs, directly otherwise. Waits a bounded time for the
// focus to arrive; false when it did not.
bool activateWindow(Display* display, Window window, bool managed);

} // namespace vt::x11
