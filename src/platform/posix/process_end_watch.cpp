// ProcessEndWatch: one thread blocked in poll() on a process descriptor
// (pidfd) per process and an eventfd that the destructor writes to cancel.
// A kernel without pidfd_open (before Linux 5.3), or a process whose
// descriptor cannot be opened (no descriptors left), is looked at in /proc
// once a second instead: the only case where this watch wakes up on a timer.
#include "platform/posix/console_processes.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/posix/proc_files.h"

namespace vt::posix {

namespace {

constexpr int kCheckEveryMs = 1000;

// A descriptor that becomes readable when the process ends; -1 with errno
// set otherwise (ESRCH: it has already gone).
int openProcessDescriptor(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

bool hasEnded(pid_t pid)
{
    const auto stat = readProcStat(pid);
    return !stat || stat->ended();
}

// What the watching thread waits on: the cancel descriptor first (not owned),
// then one descriptor per running process, closed with it; and the processes
// checked in /proc.
struct Waiting {
    std::vector<pollfd> descriptors;
    std::vector<pid_t> checked;

    Waiting() = default;
    Waiting(Waiting&& other) noexcept
        : descriptors(std::exchange(other.descriptors, {})), checked(std::exchange(other.checked, {}))
    {
    }
    Waiting& operator=(Waiting&&) = delete;
    ~Waiting() { closeAll(); }

    bool done() const
    {
        for (size_t i = 1; i < descriptors.size(); ++i) {
            if (descriptors[i].fd >= 0)
                return false;
        }
        return checked.empty();
    }

    void closeEnded()
    {
        for (size_t i = 1; i < descriptors.size(); ++i) {
            if (descriptors[i].fd >= 0 && descriptors[i].revents != 0) {
                ::close(descriptors[i].fd);
                descriptors[i].fd = -1; // poll() skips it from now on
            }
        }
        std::erase_if(checked, hasEnded);
    }

    void closeAll()
    {
        for (size_t i = 1; i < descriptors.size(); ++i) {
            if (descriptors[i].fd >= 0)
                ::close(descriptors[i].fd);
        }
    }
};

// Opens the descriptors at once, so that each one holds the process that has
// the pid now, even if the pid is used again later.
Waiting startWaiting(const std::vector<pid_t>& pids, int cancel)
{
    Waiting waiting;
    waiting.descriptors.push_back({cancel, POLLIN, 0});
    for (const pid_t pid : pids) {
        const int descriptor = openProcessDescriptor(pid);
        if (descriptor >= 0)
            waiting.descriptors.push_back({descriptor, POLLIN, 0});
        else if (errno != ESRCH)
            waiting.checked.push_back(pid);
    }
    return waiting;
}

void waitForEnds(Waiting waiting, const std::function<void()>& ended)
{
    for (;;) {
        waiting.closeEnded();
        if (waiting.done()) {
            ended();
            break;
        }
        const int timeout = waiting.checked.empty() ? -1 : kCheckEveryMs;
        const int ready = ::poll(waiting.descriptors.data(), waiting.descriptors.size(), timeout);
        if (ready < 0 && errno != EINTR)
            break; // cannot wait any longer: never report an end not seen
        if (ready > 0 && waiting.descriptors[0].revents != 0)
            break; // cancelled
    }
}

} // namespace

struct ProcessEndWatch::Impl {
    int cancel = -1;
    std::thread thread;
};

ProcessEndWatch::ProcessEndWatch(std::vector<pid_t> pids, std::function<void()> ended) : impl_(std::make_unique<Impl>())
{
    impl_->cancel = ::eventfd(0, EFD_CLOEXEC);
    if (impl_->cancel < 0)
        throw std::system_error(errno, std::generic_category(), "cannot watch the server's processes");
    try {
        impl_->thread = std::thread(waitForEnds, startWaiting(pids, impl_->cancel), std::move(ended));
    } catch (...) {
        ::close(impl_->cancel);
        throw;
    }
}

ProcessEndWatch::~ProcessEndWatch()
{
    const uint64_t one = 1;
    (void)!::write(impl_->cancel, &one, sizeof one);
    // ended() may itself drop the watch: its thread then finishes on its own.
    if (impl_->thread.get_id() == std::this_thread::get_id())
        impl_->thread.detach();
    else
        impl_->thread.join();
    ::close(impl_->cancel);
}

} // namespace vt::posix
