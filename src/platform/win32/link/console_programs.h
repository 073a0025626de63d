#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt::win32 {

// One program attached to a console: its process and its executable's file
// name ("java.exe").
struct ConsoleProgram {
    std::uint32_t process = 0;
    std::string image;
    // When it started (FILETIME ticks), 0 when unknown: a process id may be
    // another program's once the first has ended.
    std::uint64_t started = 0;
};

// Who reads a console, told from the programs attached to it.
struct ConsoleReaders {
    // Only command shells are left: cmd or PowerShell waits at its prompt,
    // and `say` or `stop` typed there would run as shell commands.
    bool atShellPrompt = false;
    // The server: every program but the shells, the console's host and this
    // program's own helpers. A shell running the start script stays out of
    // it, so the server has ended when java has, even if the shell goes on.
    std::vector<std::uint32_t> server;
};

// helperImage is the file name this program runs under: its console
// helpers, attached for a moment, are never the server.
ConsoleReaders consoleReaders(const std::vector<ConsoleProgram>& programs, std::string_view helperImage);

// The console's title while the operator selects text in it ("Select TITLE",
// or "Mark TITLE" in mark mode): the server's output, and so the server,
// stands still until the selection ends, and the first key typed only ends
// it. The title without that word, or empty when the title shows none.
std::string titleUnderSelection(std::string_view title);

} // namespace vt::win32
