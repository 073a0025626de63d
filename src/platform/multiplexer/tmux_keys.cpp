#include "platform/multiplexer/tmux_keys.h"

#include "platform/failures.h"
#include "platform/keys/utf8.h"

namespace vt::multiplexer {

namespace {

// tmux's names; empty for keys it has no name for.
std::string baseName(NamedKey key)
{
    switch (key) {
    case NamedKey::Enter:
        return "Enter";
    case NamedKey::Backspace:
        return "BSpace";
    case NamedKey::Delete:
        return "DC";
    case NamedKey::Down:
        return "Down";
    case NamedKey::End:
        return "End";
    case NamedKey::Escape:
        return "Escape";
    case NamedKey::Home:
        return "Home";
    case NamedKey::Insert:
        return "IC";
    case NamedKey::Left:
        return "Left";
    case NamedKey::PageDown:
        return "NPage";
    case NamedKey::PageUp:
        return "PPage";
    case NamedKey::Right:
        return "Right";
    case NamedKey::Tab:
        return "Tab";
    case NamedKey::Up:
        return "Up";
    case NamedKey::F1:
        return "F1";
    case NamedKey::F2:
        return "F2";
    case NamedKey::F3:
        return "F3";
    case NamedKey::F4:
        return "F4";
    case NamedKey::F5:
        return "F5";
    case NamedKey::F6:
        return "F6";
    case NamedKey::F7:
        return "F7";
    case NamedKey::F8:
        return "F8";
    case NamedKey::F9:
        return "F9";
    case NamedKey::F10:
        return "F10";
    case NamedKey::F11:
        return "F11";
    case NamedKey::F12:
        return "F12";
    default:
        return "";
    }
}

// Keys a terminal sends with Ctrl and Shift as xterm modifier codes.
bool takesAllModifiers(NamedKey key)
{
    return key != NamedKey::Enter && key != NamedKey::Backspace && key != NamedKey::Escape && key != NamedKey::Tab;
}

[[noreturn]] void cannotSend(const KeyAction& key)
{
    throw UndeliverableStep("tmux cannot send the key " + describe({key}) + "; nothing of this step was typed");
}

std::string prefixes(const Modifiers& modifiers)
{
    std::string text;
    if (modifiers.control)
        text += "C-";
    if (modifiers.alt)
        text += "M-";
    if (modifiers.shift)
        text += "S-";
    return text;
}

std::string namedKeyName(const KeyAction& key, NamedKey named)
{
    const std::string base = baseName(named);
    if (base.empty())
        cannotSend(key);
    Modifiers modifiers = key.modifiers;
    if (named == NamedKey::Tab && modifiers.shift && !modifiers.control) {
        modifiers.shift = false;
        return prefixes(modifiers) + "BTab";
    }
    if (!takesAllModifiers(named) && (modifiers.control || modifiers.shift))
        cannotSend(key);
    return prefixes(modifiers) + base;
}

// A character with modifiers: tmux names Ctrl and Alt combinations of
// printable ASCII; Shift only makes a letter upper case.
std::string characterKeyName(const KeyAction& key, char32_t character)
{
    Modifiers modifiers = key.modifiers;
    if (character < 0x21 || character > 0x7e)
        cannotSend(key);
    if (modifiers.shift) {
        if (character < 'a' || character > 'z')
            cannotSend(key);
        character = character - 'a' + 'A';
        modifiers.shift = false;
    }
    if (modifiers.control) {
        // C-a .. C-z and the few punctuation keys a terminal has Ctrl codes for.
        const bool letter = (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z');
        const std::string ctrlPunctuation = "@[\\]^_?";
        if (!letter && ctrlPunctuation.find(static_cast<char>(character)) == std::string::npos)
            cannotSend(key);
        if (character >= 'A' && character <= 'Z')
            character = character - 'A' + 'a';
    }
    return prefixes(modifiers) + static_cast<char>(character);
}

bool isPlainCharacter(const KeyAction& key)
{
    return std::holds_alternative<char32_t>(key.key) && !key.modifiers.any();
}

// tmux reads an argument that ends in ";" as the end of a command, and one
// that ends in "\;" as a ";": a literal text ending in ";" gets that backslash.
std::string guardSemicolon(std::string text)
{
    if (!text.empty() && text.back() == ';') {
        text.pop_back();
        text += "\\;";
    }
    return text;
}

void appendCommand(std::vector<std::string>& args, const std::string& target, std::vector<std::string> tail)
{
    if (!args.empty())
        args.push_back(";");
    args.insert(args.end(), {"send-keys", "-t", target});
    args.insert(args.end(), tail.begin(), tail.end());
}

} // namespace

std::string tmuxKeyName(const KeyAction& key)
{
    if (const auto* named = std::get_if<NamedKey>(&key.key))
        return namedKeyName(key, *named);
    return characterKeyName(key, std::get<char32_t>(key.key));
}

std::vector<std::string> tmuxTypingArgs(const std::string& target, const KeyActions& keys)
{
    std::vector<std::string> args;
    std::size_t at = 0;
    while (at < keys.size()) {
        if (isPlainCharacter(keys[at])) {
            std::string text;
            for (; at < keys.size() && isPlainCharacter(keys[at]); ++at)
                appendUtf8(text, std::get<char32_t>(keys[at].key));
            appendCommand(args, target, {"-l", "--", guardSemicolon(text)});
            continue;
        }
        // Consecutive named keys go in one send-keys, as tmux takes several.
        std::vector<std::string> names;
        for (; at < keys.size() && !isPlainCharacter(keys[at]); ++at)
            names.push_back(guardSemicolon(tmuxKeyName(keys[at])));
        appendCommand(args, target, names);
    }
    return args;
}

} // namespace vt::multiplexer
