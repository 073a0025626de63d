#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vt::x11 {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// Opens the display DISPLAY names; throws Failure saying which one failed.
DisplayPtr openDisplay();

// Collects the X errors of the requests made while it lives instead of letting
// Xlib's default handler end the program (a window may vanish at any moment).
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far; true when an error came.
    bool failed();

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

Atom atom(Display* display, const char* name);

// A window's place in the tree; nullopt when the window is gone.
struct TreeLinks {
    Window root = None;
    Window parent = None;
    std::vector<Window> children;
};
std::optional<TreeLinks> queryTree(Display* display, Window window);

// A property of 32-bit items (windows, cardinals); empty when absent.
std::vector<unsigned long> longProperty(Display* display, Window window, const char* name, Atom type);

// A property as raw bytes; nullopt when absent.
std::optional<std::string> byteProperty(Display* display, Window window, const char* name, Atom type);

// Holds the server for this client alone while it lives.
class ServerGrab {
public:
    explicit ServerGrab(Display* display) : display_(display) { XGrabServer(display_); }
    ~ServerGrab()
    {
        XUngrabServer(display_);
        XFlush(display_);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* display_;
};

} // namespace vt::x11
