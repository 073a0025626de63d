#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt::multiplexer {

// The process screen started in window `window` of the session whose screen
// process is screenPid: the screen process's child whose environment holds
// WINDOW=window (screen sets it for each window). 0 when there is none.
pid_t screenWindowProcess(pid_t screenPid, const std::string& window);

// screen 4's hardcopy writes one byte per cell: the low byte of the cell's
// character (U+20AC "€" as 0xAC), and 0xFF for the second cell of a wide
// one. These bring both sides of a comparison into that alphabet, as UTF-8:
// a hardcopy line, and the text it should show.
std::string hardcopyText(std::string_view bytes);
std::string asHardcopyText(std::string_view utf8);

// A window's rows as screen's hardcopy wrote them, scrollback first. The rows
// that screen wrapped from one long line (a row as wide as the window) are
// joined again (a row as wide as the window, in cells, which are bytes here), so that each entry is a line as the
// program printed it.
std::vector<std::string> screenLines(const std::string& hardcopy, std::size_t width);

// The lines of `now` that came after `before` (both as screenLines gives
// them): the window may have scrolled old lines out at the top, and its last
// line (a prompt, a line being written) may have grown since.
std::vector<std::string> newScreenLines(const std::vector<std::string>& before, const std::vector<std::string>& now);

// The window's width from "screen -Q info" ("(1,5)/(80,24)+100 ..."); nullopt
// when the answer does not say.
std::optional<std::size_t> screenWidth(const std::string& info);

} // namespace vt::multiplexer
