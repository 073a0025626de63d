// The programs reading a terminal, told apart on real shells and programs
// started on pseudo-terminals of their own.
#include "platform/posix/console_processes.h"
#include "platform/posix/proc_files.h"
#include "platform/posix/temp_dir_support.h"
#include "platform/posix/terminal_support.h"
#include "platform/posix/wait_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vt::posix {
namespace {

using testing::TerminalProgram;

std::vector<std::string> namesOf(const std::vector<pid_t>& pids)
{
    std::vector<std::string> names;
    for (const pid_t pid : pids)
        names.push_back(procName(pid));
    return names;
}

// The terminal's programs once its foreground runs a program called name.
ConsoleProcesses onceRunning(pid_t member, const std::string& name)
{
    std::optional<ConsoleProcesses> found;
    const bool seen = testing::eventually([&] {
        found = consoleProcesses(member);
        return found && namesOf(found->server) == std::vector<std::string>{name};
    });
    EXPECT_TRUE(seen) << "no " << name << " in the foreground of " << member;
    return found.value_or(ConsoleProcesses{});
}

struct ShellCase {
    const char* program;
    std::vector<std::string> arguments;
    const char* name;
};

TEST(ConsoleProcesses, AnInteractiveShellAtItsPromptIsNoServer)
{
    const ShellCase shells[] = {
        {"/usr/bin/bash", {"bash", "--norc", "--noprofile"}, "bash"},
        {"/usr/bin/bash", {"-bash", "--noprofile", "--norc"}, "bash"}, // a login shell
        {"/usr/bin/bash", {"bash", "--norc", "-o", "emacs", "-i"}, "bash"},
        {"/bin/sh", {"sh"}, "sh"},
        {"/usr/bin/dash", {"dash", "-i"}, "dash"},
    };
    for (const auto& shell : shells) {
        TerminalProgram terminal(shell.program, shell.arguments);
        ASSERT_TRUE(terminal.waitForOutput(TerminalProgram::kPrompt)) << shell.arguments[0];
        const auto found = consoleProcesses(terminal.pid());
        ASSERT_TRUE(found) << shell.arguments[0];
        EXPECT_TRUE(found->atShellPrompt) << shell.arguments[0];
        EXPECT_EQ(found->foreground, shell.name);
        EXPECT_TRUE(found->server.empty()) << shell.arguments[0];
    }
}

TEST(ConsoleProcesses, AStartScriptRunningTheServerIsAServer)
{
    testing::TempDir dir;
    const std::string script = dir.path() + "/start.sh";
    // A command after the server's, as start scripts have, so that the shell
    // stays and waits for it.
    testing::writeFile(script, "#!/bin/bash\nsleep 1000\necho the server stopped\n");
    ASSERT_EQ(::chmod(script.c_str(), 0700), 0);
    const ShellCase starts[] = {
        {"/usr/bin/bash", {"bash", script}, "bash"}, // bash start.sh
        {script.c_str(), {script}, "start.sh"},      // ./start.sh
        {"/usr/bin/bash", {"bash", "-e", "--", script}, "bash"},
        {"/usr/bin/bash", {"bash", "-c", "sleep 1000; echo the server stopped"}, "bash"},
    };
    for (const auto& start : starts) {
        TerminalProgram terminal(start.program, start.arguments);
        const auto found = onceRunning(terminal.pid(), "sleep");
        EXPECT_FALSE(found.atShellPrompt) << start.arguments.back();
        EXPECT_EQ(found.foreground, start.name);
    }
}

TEST(ConsoleProcesses, AScriptThatReadsTheConsoleItselfIsTheServer)
{
    testing::TempDir dir;
    const std::string script = dir.path() + "/console.sh";
    testing::writeFile(script, "while read -r line; do echo \"got $line\"; done\n");
    TerminalProgram terminal("/usr/bin/bash", {"bash", script});
    const auto found = onceRunning(terminal.pid(), "bash");
    EXPECT_FALSE(found.atShellPrompt);
    EXPECT_EQ(found.server, std::vector<pid_t>{terminal.pid()});
}

TEST(ConsoleProcesses, AShellRunningAForegroundJobIsAServerUntilItsPromptIsBack)
{
    TerminalProgram terminal("/usr/bin/bash", {"bash", "--norc", "--noprofile"});
    ASSERT_TRUE(terminal.waitForOutput(TerminalProgram::kPrompt));
    terminal.type("sleep 1000\n");
    const auto running = onceRunning(terminal.pid(), "sleep");
    EXPECT_FALSE(running.atShellPrompt);
    EXPECT_EQ(running.foreground, "sleep");
    ASSERT_EQ(running.server.size(), 1u);
    EXPECT_NE(readProcStat(running.server[0])->group, terminal.pid()) << "the job has a group of its own";

    terminal.type("\x03"); // Ctrl+C ends the job: the shell is at its prompt again
    EXPECT_TRUE(testing::eventually([&] {
        const auto found = consoleProcesses(terminal.pid());
        return found && found->atShellPrompt && found->server.empty();
    }));
}

TEST(ConsoleProcesses, AProgramRunDirectlyIsTheServer)
{
    TerminalProgram terminal("/usr/bin/sleep", {"sleep", "1000"});
    const auto found = onceRunning(terminal.pid(), "sleep");
    EXPECT_FALSE(found.atShellPrompt);
    EXPECT_EQ(found.server, std::vector<pid_t>{terminal.pid()});
}

TEST(ConsoleProcesses, AProcessThatHasEndedReadsNoConsole)
{
    const pid_t zombie = ::fork();
    if (zombie == 0)
        ::_exit(0);
    ASSERT_TRUE(testing::eventually([&] { return readProcStat(zombie)->ended(); }));
    EXPECT_FALSE(consoleProcesses(zombie)) << "a zombie";
    ASSERT_EQ(::waitpid(zombie, nullptr, 0), zombie);
    EXPECT_FALSE(consoleProcesses(zombie)) << "gone";
}

// This test program stands in for a terminal emulator: the programs it starts
// on pseudo-terminals are its windows.
TEST(ConsoleProcesses, ATerminalsChildrenOnTerminalsOfTheirOwnAreItsWindows)
{
    const pid_t plainChild = ::fork(); // shares this program's terminal, if any
    if (plainChild == 0) {
        ::pause();
        ::_exit(0);
    }
    {
        TerminalProgram first("/usr/bin/sleep", {"sleep", "1000"});
        EXPECT_EQ(terminalChildren(::getpid()), std::vector<pid_t>{first.pid()});
        TerminalProgram second("/usr/bin/sleep", {"sleep", "1000"});
        auto children = terminalChildren(::getpid());
        std::ranges::sort(children);
        std::vector<pid_t> expected = {first.pid(), second.pid()};
        std::ranges::sort(expected);
        EXPECT_EQ(children, expected);
    }
    EXPECT_TRUE(terminalChildren(::getpid()).empty());
    ::kill(plainChild, SIGKILL);
    ::waitpid(plainChild, nullptr, 0);
}

} // namespace
} // namespace vt::posix
