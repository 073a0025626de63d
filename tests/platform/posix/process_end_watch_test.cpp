// Watching real child processes end.
#include "platform/posix/console_processes.h"

#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <future>
#include <thread>

namespace vt::posix {
namespace {

// Far more than any loaded machine needs to see a process end; the promise to
// an operator is a few seconds.
constexpr auto kSeen = std::chrono::seconds(20);
// Long enough for a wrong early report to show.
constexpr auto kQuiet = std::chrono::milliseconds(300);

// A child that waits until it is killed.
pid_t startSleeper()
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (;;)
            ::pause();
    }
    return pid;
}

// Kills the child and leaves it a zombie, as a server that ended but whose
// parent has not yet read its status.
void kill(pid_t pid)
{
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
}

void reap(pid_t pid)
{
    ASSERT_EQ(::waitpid(pid, nullptr, 0), pid);
}

// Counts the calls of ended() and lets the test wait for the first.
struct Ends {
    std::atomic<int> count = 0;
    std::promise<void> first;

    std::function<void()> callback()
    {
        return [this] {
            if (count.fetch_add(1) == 0)
                first.set_value();
        };
    }
};

TEST(ProcessEndWatch, SeesEveryProcessEndOnce)
{
    const pid_t first = startSleeper();
    const pid_t second = startSleeper();
    Ends ends;
    auto seen = ends.first.get_future();
    ProcessEndWatch watch({first, second}, ends.callback());

    kill(first);
    reap(first);
    EXPECT_EQ(seen.wait_for(kQuiet), std::future_status::timeout) << "one of two has ended";

    kill(second); // a zombie has ended too
    EXPECT_EQ(seen.wait_for(kSeen), std::future_status::ready);
    std::this_thread::sleep_for(kQuiet);
    EXPECT_EQ(ends.count, 1);
    reap(second);
}

TEST(ProcessEndWatch, ProcessesAlreadyGoneHaveEnded)
{
    const pid_t gone = startSleeper();
    kill(gone);
    reap(gone);
    for (const auto& pids : {std::vector<pid_t>{gone}, std::vector<pid_t>{}}) {
        Ends ends;
        auto seen = ends.first.get_future();
        ProcessEndWatch watch(pids, ends.callback());
        EXPECT_EQ(seen.wait_for(kSeen), std::future_status::ready) << pids.size();
    }
}

TEST(ProcessEndWatch, ADestroyedWatchNeverCallsBack)
{
    const pid_t sleeper = startSleeper();
    Ends ends;
    {
        ProcessEndWatch watch({sleeper}, ends.callback());
    }
    kill(sleeper);
    reap(sleeper);
    std::this_thread::sleep_for(kQuiet);
    EXPECT_EQ(ends.count, 0);
}

TEST(ProcessEndWatch, MayBeDestroyedByItsOwnCallback)
{
    const pid_t sleeper = startSleeper();
    std::promise<void> destroyed;
    std::unique_ptr<ProcessEndWatch> watch;
    watch = std::make_unique<ProcessEndWatch>(std::vector<pid_t>{sleeper}, [&] {
        watch.reset();
        destroyed.set_value();
    });
    kill(sleeper);
    EXPECT_EQ(destroyed.get_future().wait_for(kSeen), std::future_status::ready);
    reap(sleeper);
}

// pidfd_open fails with ENOSYS from here on, as on a kernel before 5.3.
void withoutProcessDescriptors()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_pidfd_open, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program = {static_cast<unsigned short>(std::size(filter)), filter};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
        ::_exit(2);
    if (::syscall(SYS_pidfd_open, ::getpid(), 0) != -1 || errno != ENOSYS)
        ::_exit(3);
}

// Exits 0 when the watch waited for the sleeper and then saw it end.
void watchWithoutProcessDescriptors()
{
    withoutProcessDescriptors();
    const pid_t sleeper = startSleeper();
    Ends ends;
    auto seen = ends.first.get_future();
    ProcessEndWatch watch({sleeper}, ends.callback());
    const bool early = seen.wait_for(kQuiet) != std::future_status::timeout;
    ::kill(sleeper, SIGKILL);
    const bool late = seen.wait_for(kSeen) != std::future_status::ready;
    ::_exit(early ? 4 : late ? 5 : 0);
}

TEST(ProcessEndWatch, WithoutProcessDescriptorsLooksAtTheProcessesEverySecond)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(watchWithoutProcessDescriptors(), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace vt::posix
