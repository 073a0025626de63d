#include "platform/x11/x11_guards.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include "platform/failures.h"
#include "platform/x11/x11_activation.h"
#include "platform/x11/x11_display.h"

// Last: the display's resource mask is only in Xlib's internal header, whose
// min and max macros would break the C++ headers above.
#include <X11/Xlibint.h>
#undef min
#undef max

namespace vt::x11 {

namespace {

// A window's id carries its client's id in the bits above the resource mask,
// which the server hands every client alike.
bool sameClient(Display* display, Window a, Window b)
{
    const XID mask = display->resource_mask;
    return (a & ~mask) == (b & ~mask);
}

// Another client's active grab (a screen locker, an open menu) makes ours fail.
bool keyboardGrabbedElsewhere(Display* display)
{
    const int status =
        XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (status == GrabSuccess)
        XUngrabKeyboard(display, CurrentTime);
    return status == AlreadyGrabbed || status == GrabFrozen;
}

bool keyDown(const char keys[32], KeyCode keycode)
{
    return keys[keycode / 8] & (1 << (keycode % 8));
}

} // namespace

void requireKeysGoToConsole(Display* display, Window console, const std::string& title)
{
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (!focusWithin(display, console)) {
        throw FocusLost("focus left the console window '" + title + "'; nothing was typed");
    }
    if (!sameClient(display, focus, console)) {
        throw FocusLost("a window of another program inside the console window '" + title +
                        "' has the focus; nothing was typed");
    }
    if (keyboardGrabbedElsewhere(display)) {
        throw KeySenderFailed("another program holds the keyboard; nothing was typed into '" + title + "'");
    }
}

void releaseHeldModifiers(Display* display)
{
    char keys[32] = {};
    XQueryKeymap(display, keys);
    XModifierKeymap* modifiers = XGetModifierMapping(display);
    if (!modifiers)
        return;
    for (int index = 0; index < 8; ++index) {
        if (index == LockMapIndex)
            continue; // a lock, not a held key
        for (int slot = 0; slot < modifiers->max_keypermod; ++slot) {
            const KeyCode keycode = modifiers->modifiermap[index * modifiers->max_keypermod + slot];
            if (keycode != 0 && keyDown(keys, keycode))
                XTestFakeKeyEvent(display, keycode, False, CurrentTime);
        }
    }
    XFreeModifiermap(modifiers);
}

CapsLockReleased::CapsLockReleased(Display* display) : display_(display)
{
    XkbStateRec state{};
    locked_ = XkbGetState(display_, XkbUseCoreKbd, &state) == Success && (state.locked_mods & LockMask);
    if (locked_)
        XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, 0);
}

CapsLockReleased::~CapsLockReleased()
{
    if (locked_)
        XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, LockMask);
}

} // namespace vt::x11
