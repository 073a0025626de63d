#pragma once

#include <string>
#include <string_view>

namespace vt::multiplexer {

// One line a tmux control-mode client ("tmux -C") writes, as the watch needs it.
struct ControlLine {
    enum class Kind {
        Output,       // "%output %PANE TEXT": what the pane printed
        WindowClosed, // "%window-close @W", "%unlinked-window-close @W"
        Exit,         // "%exit": the client is leaving
        Done,         // "%end ...": a command (the attach first) has finished
        Failed,       // "%error ...": it failed
        Other,
    };
    Kind kind = Kind::Other;
    std::string target; // the pane or window
    std::string text;   // the output, unescaped
};

ControlLine parseControlLine(std::string_view line);

// tmux writes the bytes of a pane's output below 32, and '\', as "\ooo"
// (octal); every other byte, UTF-8 included, as it is.
std::string unescapeControlOutput(std::string_view text);

} // namespace vt::multiplexer
