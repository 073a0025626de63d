#include "platform/x11/keymap_plan.h"

#include <algorithm>
#include <bit>

#include "platform/failures.h"

namespace vt::x11 {

namespace {

constexpr KeySym unicodeKeysymBase = 0x01000000;
constexpr KeySym returnKeysym = 0xff0d;
constexpr KeySym tabKeysym = 0xff09;
constexpr KeySym backspaceKeysym = 0xff08;
constexpr KeySym escapeKeysym = 0xff1b;
constexpr KeySym euroSignKeysym = 0x20ac;      // the one legacy keysym common layouts use for a non-Latin-1 character
constexpr KeySym firstFunctionKeysym = 0xffbe; // F1; F2..F16 follow

bool isLatin1Printable(char32_t c)
{
    return (c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff);
}

// The character a keysym types, or 0 when it is no character keysym we know.
char32_t characterOfKeysym(KeySym keysym)
{
    if (isLatin1Printable(keysym))
        return keysym;
    if (keysym == euroSignKeysym)
        return 0x20ac;
    if (keysym > unicodeKeysymBase && keysym <= unicodeKeysymBase + 0x10ffff)
        return keysym - unicodeKeysymBase;
    return 0;
}

// One name for all keysyms of a character, so legacy and Unicode keysyms meet.
KeySym canonical(KeySym keysym)
{
    const char32_t character = characterOfKeysym(keysym);
    return character != 0 ? (unicodeKeysymBase | character) : keysym;
}

std::vector<unsigned> candidateModifiers(const KeymapKey& key, unsigned locked)
{
    std::vector<unsigned> candidates{0};
    for (const auto& [modifiers, level] : key.entries) {
        (void)level;
        candidates.push_back(modifiers & ~locked);
    }
    return candidates;
}

bool canPress(const Keymap& keymap, unsigned modifiers)
{
    if (modifiers & lockModifier)
        return false; // Caps Lock toggles; it is never held
    for (unsigned bit = 0; bit < keymap.modifierKeycodes.size(); ++bit) {
        if ((modifiers & (1u << bit)) && keymap.modifierKeycodes[bit] == 0)
            return false;
    }
    return true;
}

std::string describeAction(const KeyAction& action)
{
    return describe(KeyActions{KeyAction{action.key, {}}});
}

} // namespace

KeySym keysymOfCharacter(char32_t character)
{
    switch (character) {
    case U'\n':
    case U'\r':
        return returnKeysym;
    case U'\t':
        return tabKeysym;
    case U'\b':
        return backspaceKeysym;
    case 0x1b:
        return escapeKeysym;
    default:
        break;
    }
    if (isLatin1Printable(character))
        return character;
    return unicodeKeysymBase | character;
}

KeySym keysymOfNamedKey(NamedKey key)
{
    switch (key) {
    case NamedKey::Enter:
        return returnKeysym;
    case NamedKey::Backspace:
        return backspaceKeysym;
    case NamedKey::Break:
        return 0xff6b;
    case NamedKey::CapsLock:
        return 0xffe5;
    case NamedKey::Delete:
        return 0xffff;
    case NamedKey::Down:
        return 0xff54;
    case NamedKey::End:
        return 0xff57;
    case NamedKey::Escape:
        return escapeKeysym;
    case NamedKey::Help:
        return 0xff6a;
    case NamedKey::Home:
        return 0xff50;
    case NamedKey::Insert:
        return 0xff63;
    case NamedKey::Left:
        return 0xff51;
    case NamedKey::NumLock:
        return 0xff7f;
    case NamedKey::PageDown:
        return 0xff56;
    case NamedKey::PageUp:
        return 0xff55;
    case NamedKey::PrintScreen:
        return 0xff61;
    case NamedKey::Right:
        return 0xff53;
    case NamedKey::ScrollLock:
        return 0xff14;
    case NamedKey::Tab:
        return tabKeysym;
    case NamedKey::Up:
        return 0xff52;
    default:
        break;
    }
    return firstFunctionKeysym + static_cast<unsigned>(key) - static_cast<unsigned>(NamedKey::F1);
}

KeySym keysymOfAction(const KeyAction& action)
{
    if (const auto* character = std::get_if<char32_t>(&action.key))
        return keysymOfCharacter(*character);
    return keysymOfNamedKey(std::get<NamedKey>(action.key));
}

bool sameKeysym(KeySym a, KeySym b)
{
    if (a == b)
        return a != noSymbol;
    const char32_t ca = characterOfKeysym(a);
    return ca != 0 && ca == characterOfKeysym(b);
}

unsigned KeymapKey::levelFor(unsigned modifiers) const
{
    const unsigned relevant = modifiers & typeMask;
    for (const auto& [entryModifiers, level] : entries) {
        if (entryModifiers == relevant)
            return level;
    }
    return 0;
}

bool KeymapKey::empty() const
{
    return std::all_of(levels.begin(), levels.end(), [](KeySym k) { return k == noSymbol; });
}

KeyIndex::KeyIndex(const Keymap& keymap)
{
    for (const auto& key : keymap.keys) {
        for (unsigned modifiers : candidateModifiers(key, keymap.lockedModifiers)) {
            if (!canPress(keymap, modifiers))
                continue;
            const unsigned level = key.levelFor(modifiers | keymap.lockedModifiers);
            if (level >= key.levels.size() || key.levels[level] == noSymbol)
                continue;
            const auto [known, added] =
                strokes_.try_emplace(canonical(key.levels[level]), KeyStroke{key.keycode, modifiers});
            if (!added && std::popcount(modifiers) < std::popcount(known->second.modifiers)) {
                known->second = KeyStroke{key.keycode, modifiers};
            }
        }
    }
}

std::optional<KeyStroke> KeyIndex::find(KeySym keysym) const
{
    const auto found = strokes_.find(canonical(keysym));
    if (found == strokes_.end())
        return std::nullopt;
    return found->second;
}

std::optional<KeyStroke> findKeysym(const Keymap& keymap, KeySym keysym)
{
    return KeyIndex(keymap).find(keysym);
}

std::vector<KeySym> missingKeysyms(const Keymap& keymap, const KeyActions& actions)
{
    std::vector<KeySym> missing;
    const KeyIndex index(keymap);
    for (const auto& action : actions) {
        const KeySym keysym = keysymOfAction(action);
        if (std::find(missing.begin(), missing.end(), keysym) != missing.end())
            continue;
        if (!index.find(keysym))
            missing.push_back(keysym);
    }
    return missing;
}

std::vector<unsigned> spareKeycodes(const Keymap& keymap)
{
    std::vector<unsigned> spare;
    for (const auto& key : keymap.keys) {
        const auto& roles = keymap.modifierKeycodes;
        if (key.empty() && std::find(roles.begin(), roles.end(), key.keycode) == roles.end()) {
            spare.push_back(key.keycode);
        }
    }
    return spare;
}

std::vector<KeyStroke> planStrokes(const Keymap& keymap, const KeyActions& actions)
{
    std::vector<KeyStroke> strokes;
    strokes.reserve(actions.size());
    const KeyIndex index(keymap);
    for (const auto& action : actions) {
        auto stroke = index.find(keysymOfAction(action));
        if (!stroke) {
            throw KeySenderFailed("the key '" + describeAction(action) +
                                  "' is not on the keyboard and could not be added");
        }
        if (action.modifiers.shift)
            stroke->modifiers |= shiftModifier;
        if (action.modifiers.control)
            stroke->modifiers |= controlModifier;
        if (action.modifiers.alt)
            stroke->modifiers |= keymap.altModifier;
        if (!canPress(keymap, stroke->modifiers)) {
            throw KeySenderFailed("the keyboard has no modifier key to type '" + describe({action}) + "'");
        }
        strokes.push_back(*stroke);
    }
    return strokes;
}

std::vector<unsigned> modifierKeycodesOf(const Keymap& keymap, unsigned modifiers)
{
    std::vector<unsigned> keycodes;
    for (unsigned bit = 0; bit < keymap.modifierKeycodes.size(); ++bit) {
        if (modifiers & (1u << bit))
            keycodes.push_back(keymap.modifierKeycodes[bit]);
    }
    return keycodes;
}

} // namespace vt::x11
