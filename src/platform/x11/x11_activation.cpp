#include "platform/x11/x11_activation.h"

#include <X11/Xatom.h>

#include <chrono>
#include <thread>

#include "platform/x11/x11_display.h"

namespace vt::x11 {

namespace {

// A window manager focused in 2-5 ms when measured; a loaded machine gets far more room.
constexpr int focusPolls = 100;
constexpr auto focusPollInterval = std::chrono::milliseconds(10);

Window parentOf(Display* display, Window window)
{
    const auto links = queryTree(display, window);
    return !links || links->parent == links->root ? None : links->parent;
}

// Source indication 2: the request comes from a pager-like tool acting for
// the user, which window managers honour without focus-stealing prevention.
void requestActivation(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom(display, "_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

void focusDirectly(Display* display, Window window)
{
    ErrorTrap trap(display); // an unmapped window refuses the focus with BadMatch
    XMapRaised(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    trap.failed();
}

bool waitForFocus(Display* display, Window window)
{
    for (int poll = 0; poll < focusPolls; ++poll) {
        if (focusWithin(display, window))
            return true;
        std::this_thread::sleep_for(focusPollInterval);
    }
    return focusWithin(display, window);
}

} // namespace

bool focusWithin(Display* display, Window window)
{
    ErrorTrap trap(display);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == None || focus == PointerRoot)
        return false;
    for (Window current = focus; current != None; current = parentOf(display, current)) {
        if (current == window)
            return !trap.failed();
    }
    return false;
}

FocusBefore focusBefore(Display* display, bool managed)
{
    FocusBefore before;
    int revert = 0;
    XGetInputFocus(display, &before.focus, &revert);
    if (managed) {
        const auto active = longProperty(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
        if (!active.empty())
            before.active = active.front();
    }
    return before;
}

void restoreFocus(Display* display, const FocusBefore& before)
{
    ErrorTrap trap(display); // the window may have gone meanwhile
    if (before.active != None) {
        requestActivation(display, before.active);
    } else if (before.focus != None) {
        XSetInputFocus(display, before.focus, before.focus == PointerRoot ? RevertToPointerRoot : RevertToParent,
                       CurrentTime);
    }
    trap.failed();
}

bool activateWindow(Display* display, Window window, bool managed)
{
    if (managed) {
        requestActivation(display, window);
        if (waitForFocus(display, window))
            return true;
    }
    // Without a window manager, or when it ignored the request, take the focus ourselves.
    focusDirectly(display, window);
    return waitForFocus(display, window);
}

} // namespace vt::x11
