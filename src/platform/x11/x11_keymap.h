#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/x11/key_bindings.h"
#include "platform/x11/keymap_plan.h"

namespace vt::x11 {

// The keyboard as the server maps it now, in the current group, with the
// locked modifiers (Caps Lock left out: it is released while typing).
Keymap readKeymap(Display* display);

// Binds characters the keyboard lacks on spare keys before a string is typed,
// and undoes the bindings once no string needs them.
class KeymapBinder {
public:
    explicit KeymapBinder(Display* display) : display_(display) {}
    ~KeymapBinder();
    KeymapBinder(const KeymapBinder&) = delete;
    KeymapBinder& operator=(const KeymapBinder&) = delete;

    struct Prepared {
        Keymap keymap;              // holds every key of the actions
        std::vector<unsigned> used; // hand back to release() when the terminal has caught up
    };
    Prepared prepare(const KeyActions& actions);
    void release(const std::vector<unsigned>& used);

private:
    void bind(const KeyBinding& binding);
    void unbind(const KeyBinding& binding);

    Display* display_;
    KeyBindings bindings_;
};

} // namespace vt::x11
