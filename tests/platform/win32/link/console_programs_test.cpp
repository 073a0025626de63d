// Who reads a Windows console, from the programs attached to it: a shell
// alone waits at its prompt and no key may go there; a shell running the
// start script with java as its child is a running server, and only java
// is the server whose end is awaited.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/link/console_programs.h"

namespace vt::win32 {
namespace {

using Processes = std::vector<std::uint32_t>;

TEST(ConsoleProgramsTest, ShellsAloneWaitAtTheirPrompt)
{
    for (const char* shell : {"cmd.exe", "CMD.EXE", "powershell.exe", "pwsh.exe", "C:\\Windows\\System32\\cmd.exe"}) {
        const ConsoleReaders readers = consoleReaders({{4, shell}, {8, "vt-haltward.exe"}}, "vt-haltward.exe");
        EXPECT_TRUE(readers.atShellPrompt) << shell;
        EXPECT_EQ(readers.server, Processes{}) << shell;
    }
    // A shell in a shell, and the console's host, change nothing.
    EXPECT_TRUE(consoleReaders({{4, "cmd.exe"}, {6, "conhost.exe"}, {8, "powershell.exe"}}, "x.exe").atShellPrompt);
}

TEST(ConsoleProgramsTest, AShellRunningAProgramIsARunningServer)
{
    const ConsoleReaders script =
        consoleReaders({{4, "cmd.exe"}, {12, "java.exe"}, {8, "Haltward.EXE"}}, "C:\\Tools\\haltward.exe");
    EXPECT_FALSE(script.atShellPrompt);
    EXPECT_EQ(script.server, Processes{12});
    const ConsoleReaders direct = consoleReaders({{12, "java.exe"}, {14, "javaw.exe"}}, "vt-haltward.exe");
    EXPECT_FALSE(direct.atShellPrompt);
    EXPECT_EQ(direct.server, (Processes{12, 14}));
}

// Only this program's helpers are attached: nothing says a shell waits,
// and nothing is a server either.
TEST(ConsoleProgramsTest, NoProgramsButHelpersIsNoPrompt)
{
    const ConsoleReaders readers = consoleReaders({{8, "vt-haltward.exe"}}, "vt-haltward.exe");
    EXPECT_FALSE(readers.atShellPrompt);
    EXPECT_TRUE(readers.server.empty());
}

TEST(ConsoleProgramsTest, ASelectionShowsInTheTitle)
{
    EXPECT_EQ(titleUnderSelection("Select SPIGOT-SERVER"), "SPIGOT-SERVER");
    EXPECT_EQ(titleUnderSelection("Mark SPIGOT-SERVER - java"), "SPIGOT-SERVER - java");
    EXPECT_EQ(titleUnderSelection("SPIGOT-SERVER"), "");
    EXPECT_EQ(titleUnderSelection("Selected SPIGOT"), "");
    EXPECT_EQ(titleUnderSelection("Select "), "");
}

} // namespace
} // namespace vt::win32
