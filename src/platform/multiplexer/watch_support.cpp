#include "platform/multiplexer/watch_support.h"

#include <cstdint>
#include <stdexcept>

#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace vt::multiplexer {

void OnceSink::report(ConsoleSighting sighting)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    bool& sent = sent_.at(static_cast<std::size_t>(sighting));
    if (closed_ || sent || !sink_)
        return;
    sent = true;
    sink_(sighting);
}

void OnceSink::close()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
}

Wakeup::Wakeup() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (fd_ < 0)
        throw std::runtime_error("cannot make an eventfd");
}

Wakeup::~Wakeup()
{
    ::close(fd_);
}

void Wakeup::notify(Reason reason)
{
    reasons_.fetch_or(reason);
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t wrote = ::write(fd_, &one, sizeof one);
}

unsigned Wakeup::take()
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(fd_, &count, sizeof count);
    return reasons_.exchange(0);
}

int watchPath(const std::string& path, std::uint32_t mask)
{
    const int changes = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (changes >= 0 && ::inotify_add_watch(changes, path.c_str(), mask) < 0) {
        ::close(changes);
        return -1;
    }
    return changes;
}

} // namespace vt::multiplexer
