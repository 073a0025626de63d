#include "platform/multiplexer/client_process.h"

#include <chrono>

#include <gtest/gtest.h>

namespace vt::multiplexer {
namespace {

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

} // namespace
} // namespace vt::multiplexer
