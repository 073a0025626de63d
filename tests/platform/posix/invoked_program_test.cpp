#include "platform/posix/invoked_program.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace vt::posix {
namespace {

constexpr const char* kAskEnv = "VT_TEST_PRINT_INVOKED_PATH";

// When this test program is started again by the tests below, it only prints
// what it was invoked as, before any test runs.
const bool kPrintedAndExited = [] {
    if (std::getenv(kAskEnv) != nullptr) {
        std::fputs(invokedProgramPath().c_str(), stdout);
        std::fflush(stdout);
        ::_exit(0);
    }
    return false;
}();

std::string thisExecutable()
{
    char target[PATH_MAX];
    const auto length = ::readlink("/proc/self/exe", target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// Starts file with the given argv[0] and returns what it printed.
std::string invokedPathOf(const std::string& file, const std::string& argv0)
{
    int out[2];
    if (::pipe(out) != 0) {
        return "(no pipe)";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::setenv(kAskEnv, "1", 1);
        ::execl(file.c_str(), argv0.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string printed;
    char buffer[512];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        printed.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? printed : "(child failed)";
}

TEST(InvokedProgram, NameIsArgvZeroAsGiven)
{
    ASSERT_FALSE(kPrintedAndExited);
    EXPECT_EQ(invokedPathOf(thisExecutable(), "renamed copy"), "renamed copy");
    EXPECT_EQ(invokedPathOf(thisExecutable(), "./spigot-watch.exe"), "./spigot-watch.exe");
}

TEST(InvokedProgram, EmptyArgvZeroFallsBackToTheExecutable)
{
    EXPECT_EQ(invokedPathOf(thisExecutable(), ""), thisExecutable());
}

} // namespace
} // namespace vt::posix
