#include "platform/multiplexer/terminal_writes.h"

#include <cerrno>
#include <climits>

#include <sys/inotify.h>
#include <unistd.h>

#include "platform/multiplexer/watch_support.h"

namespace vt::multiplexer {

std::string outputTerminal(pid_t pid)
{
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd/";
    for (const char* fd : {"1", "2", "0"}) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink((fds + fd).c_str(), target, sizeof target - 1);
        if (length <= 0)
            continue;
        const std::string path(target, static_cast<std::size_t>(length));
        if (path.starts_with("/dev/pts/"))
            return path;
    }
    return "";
}

TerminalWrites::TerminalWrites(pid_t pid)
{
    if (const std::string terminal = outputTerminal(pid); !terminal.empty())
        changes_ = watchPath(terminal, IN_MODIFY);
}

TerminalWrites::~TerminalWrites()
{
    if (changes_ >= 0)
        ::close(changes_);
}

bool TerminalWrites::take()
{
    if (changes_ < 0)
        return false;
    bool written = false;
    alignas(inotify_event) char events[4096];
    for (;;) {
        const ssize_t got = ::read(changes_, events, sizeof events);
        if (got > 0) {
            written = true;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        return written;
    }
}

} // namespace vt::multiplexer
