#pragma once

#include <string>
#include <variant>
#include <vector>

namespace vt {

// The keys that keystroke notation names in braces.
enum class NamedKey {
    Enter,
    Backspace,
    Break,
    CapsLock,
    Delete,
    Down,
    End,
    Escape,
    Help,
    Home,
    Insert,
    Left,
    NumLock,
    PageDown,
    PageUp,
    PrintScreen,
    Right,
    ScrollLock,
    Tab,
    Up,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16,
};

struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
    bool any() const { return shift || control || alt; }
    friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

// One keystroke: a character (any Unicode code point) or a named key, pressed
// with the modifiers held. A backend types a character as that character,
// whatever the keyboard layout.
struct KeyAction {
    std::variant<char32_t, NamedKey> key;
    Modifiers modifiers;
    friend bool operator==(const KeyAction&, const KeyAction&) = default;
};

using KeyActions = std::vector<KeyAction>;

// The upper-case brace name of a key as notation writes it: "ENTER", "F5".
std::string keyName(NamedKey key);

// Actions written back as canonical notation, for transcripts and messages:
// characters as UTF-8 (notation's special characters braced, "{+}"), named
// keys as "{ENTER}", modifiers as their prefix characters "+^%".
std::string describe(const KeyActions& actions);

} // namespace vt
