#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/keys/key_action.h"

namespace vt::x11 {

// Keyboard terms as the X protocol numbers them, kept free of X headers so the
// choice of keys can be worked out and tested anywhere.
using KeySym = std::uint32_t;
constexpr KeySym noSymbol = 0;

constexpr unsigned shiftModifier = 1u << 0;
constexpr unsigned lockModifier = 1u << 1;
constexpr unsigned controlModifier = 1u << 2;

// The keysym that stands for a character: Latin-1 characters are their own
// keysym, every other one is its code point with bit 24 set; line breaks and
// tabs are the Return and Tab keys.
KeySym keysymOfCharacter(char32_t character);

// The keysym a named key of the notation presses.
KeySym keysymOfNamedKey(NamedKey key);

// The keysym an action presses.
KeySym keysymOfAction(const KeyAction& action);

// Two keysyms produce the same character ("EuroSign" and U+20AC) or are the same key.
bool sameKeysym(KeySym a, KeySym b);

// One key of the keyboard as the current group reads it: a keysym per shift
// level, and the rule of its key type that picks the level from the modifiers.
struct KeymapKey {
    unsigned keycode = 0;
    std::vector<KeySym> levels;
    unsigned typeMask = 0;                              // modifiers the type looks at
    std::vector<std::pair<unsigned, unsigned>> entries; // modifier state -> level

    // The level these modifiers select (level 0 when no entry matches).
    unsigned levelFor(unsigned modifiers) const;
    bool empty() const;
};

struct Keymap {
    std::vector<KeymapKey> keys;
    std::array<unsigned, 8> modifierKeycodes{}; // a key that sets each modifier bit; 0: none
    unsigned lockedModifiers = 0;               // stay on while typing (Num Lock); never Lock
    unsigned altModifier = 1u << 3;             // the bit that Alt sets
};

// What to press for one action: hold the modifiers, press and release the key.
struct KeyStroke {
    unsigned keycode = 0;
    unsigned modifiers = 0;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Every keysym the keymap types, with the stroke that needs the fewest
// modifiers: built once per keymap, looked up once per key typed.
class KeyIndex {
public:
    explicit KeyIndex(const Keymap& keymap);
    std::optional<KeyStroke> find(KeySym keysym) const;

private:
    std::unordered_map<KeySym, KeyStroke> strokes_;
};

// The stroke that types keysym with the fewest modifiers, if the keymap has it.
std::optional<KeyStroke> findKeysym(const Keymap& keymap, KeySym keysym);

// The keysyms of the actions that no key of the keymap types, each once, in order.
std::vector<KeySym> missingKeysyms(const Keymap& keymap, const KeyActions& actions);

// Keys with no symbol at all and no modifier role: free to bind.
std::vector<unsigned> spareKeycodes(const Keymap& keymap);

// The strokes of the actions, the actions' own modifiers added. Throws
// KeySenderFailed when a keysym is not in the keymap.
std::vector<KeyStroke> planStrokes(const Keymap& keymap, const KeyActions& actions);

// The key codes of the modifier bits, lowest bit first.
std::vector<unsigned> modifierKeycodesOf(const Keymap& keymap, unsigned modifiers);

} // namespace vt::x11
