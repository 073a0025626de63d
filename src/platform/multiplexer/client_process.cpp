#include "platform/multiplexer/client_process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vt::multiplexer {

namespace {

using Clock = std::chrono::steady_clock;

// More than any answer a client gives us; the rest is dropped.
constexpr std::size_t kMaxOutput = 64 * 1024;

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Rounded up, so that a wait never ends before the deadline.
int msLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// Reads until end of file or the deadline; false on the deadline.
bool readAll(int fd, Clock::time_point deadline, std::string& output)
{
    char buffer[4096];
    for (;;) {
        pollfd watched{fd, POLLIN, 0};
        const int ready = ::poll(&watched, 1, msLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return true;
        if (output.size() < kMaxOutput)
            output.append(buffer, static_cast<std::size_t>(got));
    }
}

enum class Reaped { Exited, Lost, StillRunning };

// Reaps the child by the deadline. A client that has closed its output is
// about to exit: the first checks come quickly, then further apart. When
// waitpid fails (ECHILD: a parent that ignores SIGCHLD has its children reaped
// by the kernel) the exit status is lost, and with it whether the client did
// what it was asked.
Reaped reap(pid_t pid, Clock::time_point deadline, int& status, int& waitError)
{
    auto pause = std::chrono::microseconds(50);
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return Reaped::Exited;
        if (done < 0 && errno != EINTR) {
            waitError = errno;
            return Reaped::Lost;
        }
        if (Clock::now() >= deadline)
            return Reaped::StillRunning;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
}

void killAndReap(pid_t pid)
{
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
}

// Starts argv[0] (looked up in PATH) with input (or /dev/null when -1) as its
// standard input and output as its standard output and error. The program's
// own signal handlers and blocked signals are not the client's. Returns the
// pid, or 0 with why set.
pid_t spawnClient(const std::vector<std::string>& argv, int input, int output, std::string& why)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input < 0)
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, input, 0);
    posix_spawn_file_actions_adddup2(&actions, output, 1);
    posix_spawn_file_actions_adddup2(&actions, output, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = 0;
    const int failed = ::posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        why = std::strerror(failed);
        return 0;
    }
    return pid;
}

} // namespace

ClientResult runClient(const std::vector<std::string>& argv, int timeoutMs)
{
    ClientResult result;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        result.output = std::string("cannot make a pipe: ") + std::strerror(errno);
        return result;
    }
    Fd readEnd(ends[0]);
    Fd writeEnd(ends[1]);
    const pid_t pid = spawnClient(argv, -1, writeEnd.get(), result.output);
    writeEnd.reset();
    if (pid == 0)
        return result;
    result.started = true;

    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    int waitError = 0;
    const Reaped reaped =
        readAll(readEnd.get(), deadline, result.output) ? reap(pid, deadline, status, waitError) : Reaped::StillRunning;
    if (reaped == Reaped::StillRunning) {
        killAndReap(pid);
        result.timedOut = true;
        return result;
    }
    if (reaped == Reaped::Lost) {
        result.statusLost = std::string("waitpid: ") + std::strerror(waitError);
        return result;
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string unknownOutcome(const std::string& client, const ClientResult& result, int timeoutMs)
{
    if (result.timedOut)
        return client + " did not answer within " + std::to_string(timeoutMs / 1000) + " s and was stopped";
    if (!result.statusLost.empty())
        return "the exit status of " + client + " was lost (" + result.statusLost + ")";
    return "";
}

PipedClient::PipedClient(const std::vector<std::string>& argv)
{
    // A socket for its input, so that writing to a client that has gone
    // fails (MSG_NOSIGNAL) instead of raising SIGPIPE in the program.
    int in[2];
    int out[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in) != 0) {
        why_ = std::string("cannot make a socket pair: ") + std::strerror(errno);
        return;
    }
    if (::pipe2(out, O_CLOEXEC) != 0) {
        why_ = std::string("cannot make a pipe: ") + std::strerror(errno);
        ::close(in[0]);
        ::close(in[1]);
        return;
    }
    pid_ = spawnClient(argv, in[1], out[1], why_);
    ::close(in[1]);
    ::close(out[1]);
    input_ = in[0];
    output_ = out[0];
    if (pid_ == 0)
        closeEnds();
}

PipedClient::~PipedClient()
{
    end(0);
}

bool PipedClient::send(const std::string& line)
{
    std::size_t sent = 0;
    while (input_ >= 0 && sent < line.size()) {
        const ssize_t wrote = ::send(input_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        sent += static_cast<std::size_t>(wrote);
    }
    return input_ >= 0;
}

void PipedClient::end(int timeoutMs)
{
    if (pid_ == 0)
        return;
    if (input_ >= 0)
        ::close(input_);
    input_ = -1;
    int status = 0;
    int waitError = 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // Lost: it was reaped for us (SIGCHLD ignored); gone either way.
    if (reap(pid_, deadline, status, waitError) == Reaped::StillRunning)
        killAndReap(pid_);
    pid_ = 0;
    closeEnds();
}

void PipedClient::closeEnds()
{
    for (int* fd : {&input_, &output_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

std::string firstLine(const std::string& output)
{
    const std::size_t end = output.find('\n');
    return output.substr(0, end);
}

} // namespace vt::multiplexer
