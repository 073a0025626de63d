#pragma once

class Fl_Window;

namespace vt::fltk {

// What FLTK has no call for on X11: the window manager hints of a dialog,
// and opening the display without FLTK's fatal exit.

// Opens the display FLTK draws on; false when there is none.
bool openFltkDisplay();

// After show: the window names its process; a dialog is transient for its
// owner; only a window that may be minimised offers it. The window is never
// resizable.
void setWindowRole(Fl_Window& window, Fl_Window* owner, bool minimizable);

} // namespace vt::fltk
