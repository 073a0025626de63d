#include "platform/link/console_answer.h"

namespace vt {

namespace {

constexpr char kEscape = '\x1b';
constexpr std::string_view kSection = "\xc2\xa7"; // "§" in UTF-8

bool isUtf8Continuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Where the escape sequence that starts at text[at] ends (one past it):
// CSI ("ESC [" ... a final byte 0x40-0x7E), OSC and the other string
// sequences ("ESC ]", "ESC P", ... ended by BEL or "ESC \"), or ESC and one
// character.
std::size_t escapeEnd(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    if (i >= text.size())
        return i;
    const char kind = text[i++];
    if (kind == '[') {
        while (i < text.size() && !(text[i] >= 0x40 && text[i] <= 0x7E))
            ++i;
        return i < text.size() ? i + 1 : i;
    }
    if (kind == ']' || kind == 'P' || kind == '_' || kind == '^' || kind == 'X') {
        for (; i < text.size(); ++i) {
            if (text[i] == '\a')
                return i + 1;
            if (text[i] == kEscape && i + 1 < text.size() && text[i + 1] == '\\')
                return i + 2;
        }
        return i;
    }
    return i;
}

// One past the character that starts at text[at], however many bytes it has.
std::size_t characterEnd(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    while (i < text.size() && isUtf8Continuation(text[i]))
        ++i;
    return i;
}

} // namespace

std::string plainConsoleText(std::string_view text)
{
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == kEscape) {
            i = escapeEnd(text, i);
        } else if (text.substr(i, kSection.size()) == kSection) {
            i += kSection.size();
            if (i < text.size())
                i = characterEnd(text, i);
        } else if (text[i] == '\r') {
            ++i;
        } else {
            plain += text[i++];
        }
    }
    return plain;
}

bool answersSay(std::string_view line, std::string_view answer)
{
    const std::string plainLine = plainConsoleText(line);
    std::string expected = "[Server] " + plainConsoleText(answer);
    // A server may drop the blanks a line ends with.
    expected.erase(expected.find_last_not_of(' ') + 1);
    const std::size_t at = plainLine.find(expected);
    if (at == std::string::npos)
        return false;
    // Whole: nothing but trailing blanks may follow (a line that only begins
    // with the answer is another line).
    const std::size_t rest = plainLine.find_first_not_of(' ', at + expected.size());
    return rest == std::string::npos;
}

bool reportsNoRestartScript(std::string_view line)
{
    const std::string plain = plainConsoleText(line);
    const std::size_t script = plain.find("Startup script");
    return script != std::string::npos && plain.find("does not exist! Stopping server.", script) != std::string::npos;
}

} // namespace vt
