#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

namespace vt::x11 {

struct TopLevel {
    Window window = None;
    std::string title;
};

// A window manager that follows the desktop conventions is running now (its
// check window exists and names itself), not just left its properties behind.
bool windowManagerRuns(Display* display);

// The application windows the user sees, with their titles in UTF-8: the
// window manager's client list, or without one the viewable children of the
// root (or the client windows inside them). This program's own windows are
// never among them.
std::vector<TopLevel> topLevelWindows(Display* display);

// The title of a window in UTF-8: _NET_WM_NAME, else WM_NAME in any encoding.
std::string windowTitle(Display* display, Window window);

// The process id the window's client gave (_NET_WM_PID); nullopt when none.
std::optional<unsigned long> windowProcessId(Display* display, Window window);

// The machine the window's client runs on (WM_CLIENT_MACHINE) when it names
// one other than this: a process id is then no process of this machine.
std::optional<std::string> otherClientMachine(Display* display, Window window);

// The window still exists.
bool windowExists(Display* display, Window window);

} // namespace vt::x11
