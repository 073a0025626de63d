// x11-keyboard-state: prints the Caps Lock state and a fingerprint of the core
// keyboard mapping, so scripts can check that typing left both as they were.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <functional>
#include <string>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11-keyboard-state: cannot open the display\n");
        return 1;
    }
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    int minKeycode = 0, maxKeycode = 0, width = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    KeySym* keysyms =
        XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode), maxKeycode - minKeycode + 1, &width);
    std::string mapping;
    int empty = 0;
    for (int key = 0; key <= maxKeycode - minKeycode; ++key) {
        bool none = true;
        for (int level = 0; level < width; ++level) {
            const KeySym keysym = keysyms[key * width + level];
            mapping += std::to_string(keysym) + ",";
            none = none && keysym == NoSymbol;
        }
        empty += none ? 1 : 0;
    }
    XFree(keysyms);
    std::printf("caps_lock=%s\nempty_keys=%d\nkeymap=%zx\n", (state.locked_mods & LockMask) ? "on" : "off", empty,
                std::hash<std::string>{}(mapping));
    XCloseDisplay(display);
    return 0;
}
