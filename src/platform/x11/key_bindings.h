#pragma once

#include <vector>

#include "platform/x11/keymap_plan.h"

namespace vt::x11 {

// Two keysyms bound on one spare key: the first unshifted, the second shifted.
struct KeyBinding {
    unsigned keycode = 0;
    KeySym first = noSymbol;
    KeySym second = noSymbol;
    friend bool operator==(const KeyBinding&, const KeyBinding&) = default;
};

// Keeps track of the characters bound on spare keys and of the strings still
// using them, so that a binding is undone only when no string needs it.
class KeyBindings {
public:
    struct Claim {
        std::vector<KeyBinding> added; // to be written into the keymap now
        std::vector<unsigned> used;    // keys this string holds; release them later
    };

    // Binds the missing keysyms, two per spare key, and counts one use of every
    // binding that holds one of the wanted keysyms. Throws KeySenderFailed when
    // there are not enough spare keys; nothing is claimed then.
    Claim claim(const std::vector<KeySym>& wanted, const std::vector<KeySym>& missing,
                const std::vector<unsigned>& spare);

    // Ends one use of each key; returns the bindings no string uses any more.
    std::vector<KeyBinding> release(const std::vector<unsigned>& used);

    // Forgets every binding and returns them all, for undoing at shutdown.
    std::vector<KeyBinding> releaseAll();

    bool holds(KeySym keysym) const;

private:
    struct Entry {
        KeyBinding binding;
        int uses = 0;
    };
    bool bound(unsigned keycode) const;
    std::vector<Entry> entries_;
};

} // namespace vt::x11
