#include "platform/x11/x11_windows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include "platform/x11/x11_display.h"

namespace vt::x11 {

namespace {

// WM_NAME may be Latin-1 or COMPOUND_TEXT (xterm keeps a UTF-8 title only there).
std::string legacyTitle(Display* display, Window window)
{
    XTextProperty text{};
    if (!XGetWMName(display, window, &text) || !text.value)
        return {};
    std::string title;
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && list) {
        if (count > 0 && list[0])
            title = list[0];
        XFreeStringList(list);
    } else {
        title.assign(reinterpret_cast<const char*>(text.value), text.nitems);
    }
    XFree(text.value);
    return title;
}

bool hasWmState(Display* display, Window window)
{
    const Atom wmState = atom(display, "WM_STATE");
    return !longProperty(display, window, "WM_STATE", wmState).empty();
}

bool viewable(Display* display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

std::vector<Window> childrenOf(Display* display, Window window)
{
    auto links = queryTree(display, window);
    return links ? std::move(links->children) : std::vector<Window>{};
}

// The client window inside a frame a departed window manager left behind.
Window clientWithin(Display* display, Window frame)
{
    for (Window child : childrenOf(display, frame)) {
        if (hasWmState(display, child))
            return child;
        if (Window inner = clientWithin(display, child); inner != None)
            return inner;
    }
    return None;
}

std::vector<Window> walkedTopLevels(Display* display)
{
    std::vector<Window> windows;
    for (Window child : childrenOf(display, DefaultRootWindow(display))) {
        if (!viewable(display, child))
            continue;
        if (hasWmState(display, child)) {
            windows.push_back(child);
        } else {
            const Window client = clientWithin(display, child);
            windows.push_back(client != None ? client : child);
        }
    }
    return windows;
}

std::vector<Window> managedTopLevels(Display* display)
{
    const auto list = longProperty(display, DefaultRootWindow(display), "_NET_CLIENT_LIST", XA_WINDOW);
    return {list.begin(), list.end()};
}

std::string hostName()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

// This program's own windows carry its process id (the views set it) and,
// when set, this machine's name.
bool ownWindow(Display* display, Window window)
{
    const auto pid = windowProcessId(display, window);
    return pid && *pid == static_cast<unsigned long>(getpid()) && !otherClientMachine(display, window);
}

} // namespace

std::optional<unsigned long> windowProcessId(Display* display, Window window)
{
    const auto pid = longProperty(display, window, "_NET_WM_PID", XA_CARDINAL);
    if (pid.empty())
        return std::nullopt;
    return pid.front();
}

std::optional<std::string> otherClientMachine(Display* display, Window window)
{
    const auto machine = byteProperty(display, window, "WM_CLIENT_MACHINE", XA_STRING);
    if (!machine || *machine == hostName())
        return std::nullopt;
    return machine;
}

bool windowManagerRuns(Display* display)
{
    ErrorTrap trap(display);
    const Window root = DefaultRootWindow(display);
    const auto check = longProperty(display, root, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (check.empty())
        return false;
    const auto self = longProperty(display, check.front(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return !trap.failed() && !self.empty() && self.front() == check.front();
}

std::string windowTitle(Display* display, Window window)
{
    const auto name = byteProperty(display, window, "_NET_WM_NAME", atom(display, "UTF8_STRING"));
    if (name && !name->empty())
        return *name;
    return legacyTitle(display, window);
}

std::vector<TopLevel> topLevelWindows(Display* display)
{
    ErrorTrap trap(display); // a window closing meanwhile yields errors, not an exit
    std::vector<Window> windows;
    if (windowManagerRuns(display))
        windows = managedTopLevels(display);
    if (windows.empty())
        windows = walkedTopLevels(display);
    std::vector<TopLevel> result;
    for (Window window : windows) {
        if (!ownWindow(display, window))
            result.push_back({window, windowTitle(display, window)});
    }
    return result;
}

bool windowExists(Display* display, Window window)
{
    ErrorTrap trap(display);
    XWindowAttributes attributes{};
    const Status status = XGetWindowAttributes(display, window, &attributes);
    return !trap.failed() && status != 0;
}

} // namespace vt::x11
