#include "platform/x11/x11_display.h"

#include <X11/Xatom.h>

#include "platform/failures.h"

namespace vt::x11 {

namespace {

// Xlib reports errors through one process-wide handler; the trap in force
// records them here. One thread talks to X, so one flag is enough.
bool errorSeen = false;

int recordError(Display*, XErrorEvent*)
{
    errorSeen = true;
    return 0;
}

} // namespace

DisplayPtr openDisplay()
{
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        const std::string name = XDisplayName(nullptr);
        throw Failure("cannot open the X display '" + name + "'; is DISPLAY set?");
    }
    return display;
}

ErrorTrap::ErrorTrap(Display* display) : display_(display)
{
    XSync(display_, False);
    errorSeen = false;
    previous_ = XSetErrorHandler(recordError);
}

ErrorTrap::~ErrorTrap()
{
    XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool ErrorTrap::failed()
{
    XSync(display_, False);
    const bool seen = errorSeen;
    errorSeen = false;
    return seen;
}

Atom atom(Display* display, const char* name)
{
    return XInternAtom(display, name, False);
}

namespace {

struct PropertyData {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned char* data = nullptr;
    ~PropertyData()
    {
        if (data)
            XFree(data);
    }
};

bool readProperty(Display* display, Window window, const char* name, Atom type, PropertyData& out)
{
    unsigned long remaining = 0;
    const int status = XGetWindowProperty(display, window, atom(display, name), 0, 1 << 20, False, type, &out.type,
                                          &out.format, &out.count, &remaining, &out.data);
    return status == Success && out.type != None && out.data != nullptr;
}

} // namespace

std::vector<unsigned long> longProperty(Display* display, Window window, const char* name, Atom type)
{
    PropertyData property;
    if (!readProperty(display, window, name, type, property) || property.format != 32)
        return {};
    // Xlib hands 32-bit items over as longs.
    const auto* items = reinterpret_cast<const unsigned long*>(property.data);
    return {items, items + property.count};
}

std::optional<std::string> byteProperty(Display* display, Window window, const char* name, Atom type)
{
    PropertyData property;
    if (!readProperty(display, window, name, type, property) || property.format != 8)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(property.data), property.count);
}

std::optional<TreeLinks> queryTree(Display* display, Window window)
{
    TreeLinks links;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &links.root, &links.parent, &children, &count))
        return std::nullopt;
    links.children.assign(children, children + count);
    if (children)
        XFree(children);
    return links;
}

} // namespace vt::x11
