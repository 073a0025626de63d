#include "platform/multiplexer/terminal_writes.h"

#include <cerrno>

#include <sys/inotify.h>
#include <unistd.h>

#include "platform/multiplexer/watch_support.h"
#include "platform/posix/proc_files.h"

namespace vt::multiplexer {

std::string outputTerminal(pid_t pid)
{
    for (const char* fd : {"fd/1", "fd/2", "fd/0"}) {
        if (std::string path = posix::procLink(pid, fd); path.starts_with("/dev/pts/"))
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
