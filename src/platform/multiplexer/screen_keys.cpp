#include "platform/multiplexer/screen_keys.h"

#include <cstdio>

#include "platform/failures.h"
#include "platform/keys/utf8.h"

namespace vt::multiplexer {

namespace {

std::string octal(unsigned byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "\\%03o", byte & 0xffu);
    return text;
}

const std::string kEscape = "\\033";

// What the terminal in a screen window sends for each key (screen's own
// terminfo entry: khome \E[1~, kf1 \EOP ...); empty for keys it has none for.
std::string namedKeyBytes(NamedKey key)
{
    switch (key) {
    case NamedKey::Enter:
        return "\\015";
    case NamedKey::Tab:
        return "\\011";
    case NamedKey::Backspace:
        return "\\177";
    case NamedKey::Escape:
        return kEscape;
    case NamedKey::Up:
        return kEscape + "[A";
    case NamedKey::Down:
        return kEscape + "[B";
    case NamedKey::Right:
        return kEscape + "[C";
    case NamedKey::Left:
        return kEscape + "[D";
    case NamedKey::Home:
        return kEscape + "[1~";
    case NamedKey::Insert:
        return kEscape + "[2~";
    case NamedKey::Delete:
        return kEscape + "[3~";
    case NamedKey::End:
        return kEscape + "[4~";
    case NamedKey::PageUp:
        return kEscape + "[5~";
    case NamedKey::PageDown:
        return kEscape + "[6~";
    case NamedKey::F1:
        return kEscape + "OP";
    case NamedKey::F2:
        return kEscape + "OQ";
    case NamedKey::F3:
        return kEscape + "OR";
    case NamedKey::F4:
        return kEscape + "OS";
    case NamedKey::F5:
        return kEscape + "[15~";
    case NamedKey::F6:
        return kEscape + "[17~";
    case NamedKey::F7:
        return kEscape + "[18~";
    case NamedKey::F8:
        return kEscape + "[19~";
    case NamedKey::F9:
        return kEscape + "[20~";
    case NamedKey::F10:
        return kEscape + "[21~";
    case NamedKey::F11:
        return kEscape + "[23~";
    case NamedKey::F12:
        return kEscape + "[24~";
    default:
        return "";
    }
}

[[noreturn]] void cannotSend(const KeyAction& key)
{
    throw UndeliverableStep("screen cannot send the key " + describe({key}) + "; nothing of this step was typed");
}

std::string plainCharacter(char32_t character)
{
    if (character == '\\' || character == '^' || character == '$')
        return std::string("\\") + static_cast<char>(character);
    if (character < 0x20 || character == 0x7f)
        return octal(static_cast<unsigned>(character));
    std::string text;
    appendUtf8(text, character);
    return text;
}

// Ctrl with a letter or one of the punctuation keys that have a control code.
std::string controlCharacter(const KeyAction& key, char32_t character)
{
    if (character >= 'a' && character <= 'z')
        character = character - 'a' + 'A';
    if (character == '?')
        return octal(0x7f);
    // Ctrl+@ would be a NUL byte, which a command line cannot carry.
    if (character < 'A' || character > '_')
        cannotSend(key);
    return octal(static_cast<unsigned>(character) & 0x1f);
}

std::string characterBytes(const KeyAction& key, char32_t character)
{
    if (!key.modifiers.shift && !key.modifiers.control)
        return plainCharacter(character);
    if (character > 0x7e)
        cannotSend(key);
    if (key.modifiers.shift) {
        if (character < 'a' || character > 'z')
            cannotSend(key);
        character = character - 'a' + 'A';
    }
    return key.modifiers.control ? controlCharacter(key, character) : plainCharacter(character);
}

std::string keyBytes(const KeyAction& key)
{
    if (const auto* named = std::get_if<NamedKey>(&key.key)) {
        if (*named == NamedKey::Tab && key.modifiers.shift && !key.modifiers.control)
            return kEscape + "[Z";
        const std::string bytes = namedKeyBytes(*named);
        if (bytes.empty() || key.modifiers.shift || key.modifiers.control)
            cannotSend(key);
        return bytes;
    }
    return characterBytes(key, std::get<char32_t>(key.key));
}

} // namespace

std::string screenStuffText(const KeyActions& keys)
{
    std::string text;
    for (const KeyAction& key : keys) {
        const std::string bytes = keyBytes(key);
        if (key.modifiers.alt)
            text += kEscape;
        text += bytes;
    }
    if (text.size() > kMaxStuffBytes)
        throw UndeliverableStep("this step is too long for screen (" + std::to_string(text.size()) +
                                " bytes as screen reads them, at most " + std::to_string(kMaxStuffBytes) +
                                "); shorten the message; nothing of it was typed");
    return text;
}

} // namespace vt::multiplexer
