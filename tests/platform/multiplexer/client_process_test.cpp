#include "platform/multiplexer/client_process.h"

#include <chrono>
#include <csignal>
#include <fstream>

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/multiplexer/multiplexer_links.h"

namespace vt::multiplexer {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(ClientProcess, ArgumentsReachTheProgramAsTheyAreWithoutAShell)
{
    const ClientResult result = runClient({"printf", "%s|", "$HOME", "a b", ";", "`x`", "-t"}, 5000);
    ASSERT_TRUE(result.started);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "$HOME|a b|;|`x`|-t|");
}

TEST(ClientProcess, ErrorOutputAndExitCodeComeBack)
{
    const ClientResult result = runClient({"sh", "-c", "echo oops >&2; exit 3"}, 5000);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(firstLine(result.output), "oops");
}

TEST(ClientProcess, StandardInputIsEmpty)
{
    const ClientResult result = runClient({"cat"}, 5000);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
}

TEST(ClientProcess, MissingProgramIsNotStarted)
{
    const ClientResult result = runClient({"vt-no-such-client-program"}, 5000);
    EXPECT_FALSE(result.started);
    EXPECT_FALSE(result.output.empty());
}

TEST(ClientProcess, HungClientIsKilledAtTheDeadline)
{
    const auto start = std::chrono::steady_clock::now();
    const ClientResult result = runClient({"sleep", "30"}, 300);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(result.timedOut);
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_GE(took, std::chrono::milliseconds(300));
}

// A client that closes its output but does not exit still counts as hung.
TEST(ClientProcess, ClientThatClosesItsOutputButStaysIsKilledToo)
{
    const ClientResult result = runClient({"sh", "-c", "exec >/dev/null 2>&1; sleep 30"}, 300);
    EXPECT_TRUE(result.timedOut);
}

// A parent that ignores SIGCHLD has its children reaped by the kernel, and
// waitpid fails with ECHILD: the client's exit status is gone. Ignored while
// one of these lives.
class IgnoredSigchld {
public:
    IgnoredSigchld() : previous_(std::signal(SIGCHLD, SIG_IGN)) {}
    ~IgnoredSigchld() { std::signal(SIGCHLD, previous_); }
    IgnoredSigchld(const IgnoredSigchld&) = delete;
    IgnoredSigchld& operator=(const IgnoredSigchld&) = delete;

private:
    void (*previous_)(int);
};

TEST(ClientProcess, ALostExitStatusIsAnUnknownOutcomeNeverASuccess)
{
    const IgnoredSigchld ignored;
    for (const char* program : {"true", "false"}) {
        const ClientResult result = runClient({program}, 5000);
        EXPECT_TRUE(result.started);
        EXPECT_FALSE(result.timedOut);
        EXPECT_NE(result.exitCode, 0) << program;
        EXPECT_THAT(unknownOutcome("tmux", result, 5000), StartsWith("the exit status of tmux was lost (waitpid: "))
            << program;
    }
}

// A stand-in tmux that lists one session of one pane and takes every other
// command without a word, exiting 0 as tmux does when keys went to copy mode.
std::string fakeTmux()
{
    const std::string path = ::testing::TempDir() + "/vt-fake-tmux";
    std::ofstream script(path, std::ios::trunc);
    script << "#!/bin/sh\n"
              "[ \"$1\" = list-sessions ] && printf '$1\\tS\\n%%1\\t$1\\t@1\\t0\\t1\\t0\\t0\\tjava\\t%s\\tjava\\n' "
              "\"$PPID\"\n"
              "exit 0\n";
    script.close();
    ::chmod(path.c_str(), 0755);
    return path;
}

TEST(ClientProcess, AStepWhoseClientStatusWasLostIsAFailureNotTyped)
{
    TmuxConsoleLink link(fakeTmux());
    const auto sender = link.activate("S");
    sender->sendKeys("stop{Enter}", false);
    const IgnoredSigchld ignored;
    try {
        sender->deliver();
        FAIL() << "reported as typed";
    } catch (const KeySenderFailed& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("the exit status of tmux was lost"));
        EXPECT_THAT(failure.what(), HasSubstr("the line may be incomplete"));
    }
}

} // namespace
} // namespace vt::multiplexer
