#pragma once

#include <string>
#include <string_view>

namespace vt {

// A console line as the operator reads it: Minecraft colour codes ("§" and
// the character after it) and terminal escape sequences removed, carriage
// returns dropped.
std::string plainConsoleText(std::string_view text);

// Whether a console line is the server's answer to `say answer`: it holds
// "[Server] " followed by the answer, both compared as plain text. A server
// may cut the line short on a narrow console, so the answer must be whole.
bool answersSay(std::string_view line, std::string_view answer);

// Whether a console line is Spigot's report that `restart` found no restart
// script and only stopped the server.
bool reportsNoRestartScript(std::string_view line);

} // namespace vt
