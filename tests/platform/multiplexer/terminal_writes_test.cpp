#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include "platform/multiplexer/terminal_writes.h"
#include "platform/multiplexer/window_program_support.h"

namespace vt::multiplexer {
namespace {

using vt::testing::WindowProgram;

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
    const WindowProgram program("0", slave_);
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
        const WindowProgram program("0", nowhere);
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
        const WindowProgram program("0", slave_);
        gone = program.pid();
    }
    EXPECT_EQ(outputTerminal(gone), "");
    EXPECT_FALSE(TerminalWrites(gone).hearing());
}

} // namespace
} // namespace vt::multiplexer
