#include "platform/keys/key_action.h"

#include <array>
#include <cstdint>

#include "platform/keys/key_names.h"
#include "platform/keys/utf8.h"

namespace vt {

namespace {

struct KeyNameEntry {
    std::string_view name;
    NamedKey key;
};

// Every brace name of the notation. The first entry of a key is the name that
// describe() writes; the others are accepted aliases.
constexpr std::array keyNameTable{
    KeyNameEntry{"ENTER", NamedKey::Enter},     KeyNameEntry{"BACKSPACE", NamedKey::Backspace},
    KeyNameEntry{"BS", NamedKey::Backspace},    KeyNameEntry{"BKSP", NamedKey::Backspace},
    KeyNameEntry{"BREAK", NamedKey::Break},     KeyNameEntry{"CAPSLOCK", NamedKey::CapsLock},
    KeyNameEntry{"DELETE", NamedKey::Delete},   KeyNameEntry{"DEL", NamedKey::Delete},
    KeyNameEntry{"DOWN", NamedKey::Down},       KeyNameEntry{"END", NamedKey::End},
    KeyNameEntry{"ESC", NamedKey::Escape},      KeyNameEntry{"HELP", NamedKey::Help},
    KeyNameEntry{"HOME", NamedKey::Home},       KeyNameEntry{"INSERT", NamedKey::Insert},
    KeyNameEntry{"INS", NamedKey::Insert},      KeyNameEntry{"LEFT", NamedKey::Left},
    KeyNameEntry{"NUMLOCK", NamedKey::NumLock}, KeyNameEntry{"PGDN", NamedKey::PageDown},
    KeyNameEntry{"PGUP", NamedKey::PageUp},     KeyNameEntry{"PRTSC", NamedKey::PrintScreen},
    KeyNameEntry{"RIGHT", NamedKey::Right},     KeyNameEntry{"SCROLLLOCK", NamedKey::ScrollLock},
    KeyNameEntry{"TAB", NamedKey::Tab},         KeyNameEntry{"UP", NamedKey::Up},
    KeyNameEntry{"F1", NamedKey::F1},           KeyNameEntry{"F2", NamedKey::F2},
    KeyNameEntry{"F3", NamedKey::F3},           KeyNameEntry{"F4", NamedKey::F4},
    KeyNameEntry{"F5", NamedKey::F5},           KeyNameEntry{"F6", NamedKey::F6},
    KeyNameEntry{"F7", NamedKey::F7},           KeyNameEntry{"F8", NamedKey::F8},
    KeyNameEntry{"F9", NamedKey::F9},           KeyNameEntry{"F10", NamedKey::F10},
    KeyNameEntry{"F11", NamedKey::F11},         KeyNameEntry{"F12", NamedKey::F12},
    KeyNameEntry{"F13", NamedKey::F13},         KeyNameEntry{"F14", NamedKey::F14},
    KeyNameEntry{"F15", NamedKey::F15},         KeyNameEntry{"F16", NamedKey::F16},
};

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoringCase(std::string_view text, std::string_view upperName)
{
    if (text.size() != upperName.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upperAscii(text[i]) != upperName[i])
            return false;
    }
    return true;
}

// The characters the notation reads as syntax; describe() braces them so that
// parsing its output types them as characters again.
bool isNotationSyntax(char32_t c)
{
    return c == U'+' || c == U'^' || c == U'%' || c == U'~' || c == U'(' || c == U')' || c == U'{' || c == U'}';
}

void appendModifiers(std::string& out, const Modifiers& modifiers)
{
    if (modifiers.shift)
        out += '+';
    if (modifiers.control)
        out += '^';
    if (modifiers.alt)
        out += '%';
}

void appendKey(std::string& out, const std::variant<char32_t, NamedKey>& key)
{
    if (const auto* named = std::get_if<NamedKey>(&key)) {
        out += '{';
        out += keyName(*named);
        out += '}';
        return;
    }
    const char32_t character = std::get<char32_t>(key);
    if (isNotationSyntax(character))
        out += '{';
    appendUtf8(out, character);
    if (isNotationSyntax(character))
        out += '}';
}

} // namespace

std::optional<NamedKey> namedKeyFromName(std::string_view name)
{
    for (const auto& entry : keyNameTable) {
        if (equalsIgnoringCase(name, entry.name))
            return entry.key;
    }
    return std::nullopt;
}

std::string keyName(NamedKey key)
{
    for (const auto& entry : keyNameTable) {
        if (entry.key == key)
            return std::string(entry.name);
    }
    // Only a value outside the enumeration gets here.
    return "KEY" + std::to_string(static_cast<int>(key));
}

std::string describe(const KeyActions& actions)
{
    std::string out;
    for (const auto& action : actions) {
        appendModifiers(out, action.modifiers);
        appendKey(out, action.key);
    }
    return out;
}

} // namespace vt
