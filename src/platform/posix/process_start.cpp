#include "platform/posix/process_start.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace vt::posix {

namespace {

// open() returns the lowest free descriptor: while 0, 1 or 2 is closed, the
// next /dev/null lands on it. One opened for reading and writing serves both
// directions.
void reopenStandardDescriptors()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        const int opened = ::open("/dev/null", O_RDWR);
        if (opened > 2)
            ::close(opened);
    }
}

} // namespace

void prepareProcess()
{
    reopenStandardDescriptors();
    std::signal(SIGCHLD, SIG_DFL);
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace vt::posix
