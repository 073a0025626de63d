// A new server after a restart, looked for on real start scripts and shells.
#include "platform/posix/console_processes.h"
#include "platform/posix/proc_files.h"
#include "platform/posix/server_comeback.h"
#include "platform/posix/temp_dir_support.h"
#include "platform/posix/terminal_support.h"
#include "platform/posix/wait_support.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <future>
#include <thread>

namespace vt::posix {
namespace {

using testing::TerminalProgram;

// The sleep the terminal runs as its server, once it runs.
pid_t serverOf(const TerminalProgram& terminal)
{
    pid_t server = 0;
    EXPECT_TRUE(testing::eventually([&] {
        const auto found = consoleProcesses(terminal.pid());
        if (!found || found->server.size() != 1 || procName(found->server[0]) != "sleep")
            return false;
        server = found->server[0];
        return true;
    }));
    return server;
}

struct Script {
    testing::TempDir dir;
    std::string path = dir.path() + "/start.sh";
    explicit Script(const std::string& text) { testing::writeFile(path, text); }
};

TEST(ServerComeback, SeesAStartLoopRunTheServerAgain)
{
    Script loop("while :; do sleep 1000; done\n");
    TerminalProgram terminal("/usr/bin/bash", {"bash", loop.path});
    const pid_t old = serverOf(terminal);
    std::promise<ConsoleSighting> seen;
    ServerComeback comeback(terminal.pid(), {old}, [&](ConsoleSighting sighting) { seen.set_value(sighting); });
    ::kill(old, SIGKILL);
    comeback.serverEnded();
    auto future = seen.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(future.get(), ConsoleSighting::ServerStarted);
}

// The terminal ran the server itself: its end closes the console.
TEST(ServerComeback, SeesTheConsoleCloseWithAServerThatWasItsOwnCommand)
{
    TerminalProgram terminal("/usr/bin/sleep", {"sleep", "1000"});
    const pid_t old = serverOf(terminal);
    std::promise<ConsoleSighting> seen;
    ServerComeback comeback(old, {old}, [&](ConsoleSighting sighting) { seen.set_value(sighting); });
    ::kill(old, SIGKILL);
    comeback.serverEnded();
    auto future = seen.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(future.get(), ConsoleSighting::ConsoleClosed);
}

TEST(ServerComeback, NoServerAfterAScriptWithoutALoopOrAtAShellPrompt)
{
    Script once("sleep 1000\nread -r line\n");
    TerminalProgram script("/usr/bin/bash", {"bash", once.path});
    TerminalProgram shell("/usr/bin/bash", {"bash", "--norc", "--noprofile"});
    ASSERT_TRUE(shell.waitForOutput(TerminalProgram::kPrompt));
    shell.type("sleep 1000\n");

    std::atomic<int> started = 0;
    std::vector<std::unique_ptr<ServerComeback>> looks;
    for (const auto* terminal : {&script, &shell}) {
        const pid_t old = serverOf(*terminal);
        looks.push_back(std::make_unique<ServerComeback>(
            terminal->pid(), std::vector<pid_t>{old}, [&](ConsoleSighting) { ++started; }, std::chrono::seconds(3)));
        ::kill(old, SIGKILL);
        looks.back()->serverEnded();
    }
    std::this_thread::sleep_for(std::chrono::seconds(5)); // past the whole look
    EXPECT_EQ(started, 0);
}

TEST(ServerComeback, LooksOnlyOnceTheOldServerHasEnded)
{
    Script loop("while :; do sleep 1000; done\n");
    TerminalProgram terminal("/usr/bin/bash", {"bash", loop.path});
    const pid_t old = serverOf(terminal);
    std::atomic<int> started = 0;
    {
        ServerComeback comeback(terminal.pid(), {old}, [&](ConsoleSighting) { ++started; });
        ::kill(old, SIGKILL); // a new server runs, but nobody said the old one ended
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    }
    EXPECT_EQ(started, 0);
}

} // namespace
} // namespace vt::posix
