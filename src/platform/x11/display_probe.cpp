#include "platform/x11/display_probe.h"

#include <X11/Xlib.h>

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vt::x11 {

namespace {

constexpr char kOpened = '1';

// In the child: one byte says whether the display opened. The alarm ends the
// child should its parent be gone before it could kill it.
[[noreturn]] void reportOpening(int answerFd, std::chrono::milliseconds timeout)
{
    ::alarm(static_cast<unsigned>(std::chrono::ceil<std::chrono::seconds>(timeout).count()) + 1);
    const char answer = XOpenDisplay(nullptr) != nullptr ? kOpened : '0';
    [[maybe_unused]] const auto written = ::write(answerFd, &answer, 1);
    ::_exit(0);
}

// The child's byte, or nothing when the time ran out.
DisplayAnswer awaitAnswer(int answerFd, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd ready{answerFd, POLLIN, 0};
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return DisplayAnswer::silent;
        const int got = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0 ? DisplayAnswer::silent : DisplayAnswer::fails;
        char answer = 0;
        const auto read = ::read(answerFd, &answer, 1);
        if (read < 0 && errno == EINTR)
            continue;
        return read == 1 && answer == kOpened ? DisplayAnswer::opens : DisplayAnswer::fails;
    }
}

} // namespace

std::string displayName()
{
    return XDisplayName(nullptr);
}

DisplayAnswer probeDisplay(std::chrono::milliseconds timeout)
{
    if (displayName().empty())
        return DisplayAnswer::fails;
    // Without a pipe or a child there is no bounded look: the display is then
    // opened as it always was, rather than taken for absent.
    int answer[2];
    if (::pipe2(answer, O_CLOEXEC) != 0)
        return DisplayAnswer::opens;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(answer[0]);
        reportOpening(answer[1], timeout);
    }
    ::close(answer[1]);
    const DisplayAnswer result = child < 0 ? DisplayAnswer::opens : awaitAnswer(answer[0], timeout);
    ::close(answer[0]);
    if (child > 0) {
        // Only a child that never answered is still there to kill; one that
        // answered is gone, and its pid may be reused should SIGCHLD be
        // ignored (waitpid then fails harmlessly: the child was reaped for us).
        if (result == DisplayAnswer::silent)
            ::kill(child, SIGKILL);
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {}
    }
    return result;
}

} // namespace vt::x11
