#include "platform/posix/shell_command.h"

#include <gtest/gtest.h>

namespace vt::posix {
namespace {

using Arguments = std::vector<std::string>;

TEST(ShellCommand, TellsAPromptFromAScriptOrACommandString)
{
    const Arguments interactive[] = {
        {"bash"},
        {"-bash"},
        {"bash", "-i"},
        {"bash", "--norc", "--noprofile"},
        {"bash", "-o", "vi"},
        {"bash", "+O", "extglob", "--rcfile", "my.rc"},
        {"sh", "-s", "first", "second"}, // commands from the terminal, parameters after
        {"bash", "--"},
    };
    for (const auto& arguments : interactive)
        EXPECT_TRUE(shellIsInteractive(arguments)) << ::testing::PrintToString(arguments);

    const Arguments notInteractive[] = {
        {},
        {"bash", "start.sh"},
        {"/bin/bash", "./start.sh"},
        {"bash", "-c", "java -jar server.jar"},
        {"bash", "-lc", "java -jar server.jar"},
        {"bash", "-e", "start.sh"},
        {"bash", "-o", "pipefail", "start.sh"},
        {"bash", "--rcfile", "my.rc", "start.sh"},
        {"bash", "--", "start.sh"},
        {"fish", "--command=java -jar server.jar"},
    };
    for (const auto& arguments : notInteractive)
        EXPECT_FALSE(shellIsInteractive(arguments)) << ::testing::PrintToString(arguments);
}

TEST(ShellCommand, KnowsTheShellsByName)
{
    for (const char* name : {"bash", "sh", "dash", "zsh", "fish", "ksh", "mksh", "tcsh", "csh"})
        EXPECT_TRUE(isShellProgram(name)) << name;
    for (const char* name : {"java", "sleep", "start.sh", "bashful", "", "tmux"})
        EXPECT_FALSE(isShellProgram(name)) << name;
}

} // namespace
} // namespace vt::posix
