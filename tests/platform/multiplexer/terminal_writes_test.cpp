#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/multiplexer/terminal_writes.h"

extern char** environ;

namespace vt::multiplexer {
namespace {

// A `sleep` whose standard output is `output` (and input /dev/null): it
// stands for a window's program.
class Sleeper {
public:
    explicit Sleeper(int output)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, output, 1);
        char sleep[] = "sleep";
        char seconds[] = "30";
        char* argv[] = {sleep, seconds, nullptr};
        if (::posix_spawnp(&pid_, "sleep", &actions, nullptr, argv, environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Sleeper()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = 0;
};

bool readableWithin(int fd, int ms)
{
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, ms) == 1;
}

class TerminalWritesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::openpty(&master_, &slave_, name_, nullptr, nullptr), 0); }
    void TearDown() override
    {
        ::close(master_);
        ::close(slave_);
    }

    int master_ = -1;
    int slave_ = -1;
    char name_[64] = {};
};

TEST_F(TerminalWritesTest, EachWriteOfTheProgramToItsTerminalIsHeard)
{
    Sleeper program(slave_);
    ASSERT_GT(program.pid(), 0);
    EXPECT_EQ(outputTerminal(program.pid()), name_);
    TerminalWrites writes(program.pid());
    ASSERT_TRUE(writes.hearing());
    EXPECT_FALSE(writes.take()) << "nothing written yet";

    // Anyone writing to the terminal is heard, as a server's child would be.
    ASSERT_EQ(::write(slave_, "[Server] hi\r\n", 13), 13);
    EXPECT_TRUE(readableWithin(writes.fd(), 5000));
    EXPECT_TRUE(writes.take());
    EXPECT_FALSE(writes.take()) << "each write is told once";
    EXPECT_FALSE(readableWithin(writes.fd(), 0));

    ASSERT_EQ(::write(slave_, "again\r\n", 7), 7);
    EXPECT_TRUE(readableWithin(writes.fd(), 5000));
    EXPECT_TRUE(writes.take());
}

TEST_F(TerminalWritesTest, AProgramWritingElsewhereOrGoneIsNotHeard)
{
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(nowhere, 0);
    {
        Sleeper program(nowhere);
        ASSERT_GT(program.pid(), 0);
        EXPECT_EQ(outputTerminal(program.pid()), "");
        TerminalWrites writes(program.pid());
        EXPECT_FALSE(writes.hearing());
        EXPECT_EQ(writes.fd(), -1);
        EXPECT_FALSE(writes.take());
    }
    ::close(nowhere);

    pid_t gone = 0;
    {
        Sleeper program(slave_);
        gone = program.pid();
    }
    EXPECT_EQ(outputTerminal(gone), "");
    EXPECT_FALSE(TerminalWrites(gone).hearing());
}

} // namespace
} // namespace vt::multiplexer
