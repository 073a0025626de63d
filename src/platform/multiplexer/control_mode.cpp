#include "platform/multiplexer/control_mode.h"

namespace vt::multiplexer {

namespace {

bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The word after a notification's name.
std::string firstWord(std::string_view rest)
{
    return std::string(rest.substr(0, rest.find(' ')));
}

} // namespace

std::string unescapeControlOutput(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && isOctal(text[i + 1]) && isOctal(text[i + 2]) &&
            isOctal(text[i + 3])) {
            bytes += static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0'));
            i += 3;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

ControlLine parseControlLine(std::string_view line)
{
    ControlLine parsed;
    if (startsWith(line, "%output ")) {
        const std::string_view rest = line.substr(8);
        const std::size_t space = rest.find(' ');
        parsed.kind = ControlLine::Kind::Output;
        parsed.target = std::string(rest.substr(0, space));
        if (space != std::string_view::npos)
            parsed.text = unescapeControlOutput(rest.substr(space + 1));
    } else if (startsWith(line, "%window-close ")) {
        parsed.kind = ControlLine::Kind::WindowClosed;
        parsed.target = firstWord(line.substr(14));
    } else if (startsWith(line, "%unlinked-window-close ")) {
        parsed.kind = ControlLine::Kind::WindowClosed;
        parsed.target = firstWord(line.substr(23));
    } else if (line == "%exit" || startsWith(line, "%exit ")) {
        parsed.kind = ControlLine::Kind::Exit;
    } else if (startsWith(line, "%end ")) {
        parsed.kind = ControlLine::Kind::Done;
    } else if (startsWith(line, "%error ")) {
        parsed.kind = ControlLine::Kind::Failed;
    }
    return parsed;
}

} // namespace vt::multiplexer
