#include "platform/multiplexer/screen_copier.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "platform/multiplexer/client_process.h"
#include "platform/multiplexer/screen_window.h"
#include "platform/multiplexer/watch_support.h"

namespace vt::multiplexer {

namespace {

// A copy takes a few milliseconds; a screen that takes longer is not waited
// for, so that ending the watch is never held up for long.
constexpr int kCopyTimeoutMs = 1000;

std::string privateFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vt-haltward-screen.XXXXXX";
    // mkdtemp makes it 0700.
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
}

} // namespace

ScreenCopier::ScreenCopier(std::string program, ScreenWindow window)
    : program_(std::move(program)), window_(std::move(window)), folder_(privateFolder())
{
    if (folder_.empty())
        return;
    changes_ = watchPath(folder_, IN_CLOSE_WRITE);
    const ClientResult info =
        runClient({program_, "-S", window_.session, "-p", window_.window, "-Q", "info"}, kCopyTimeoutMs);
    width_ = info.exitCode == 0 ? screenWidth(info.output).value_or(0) : 0;
}

ScreenCopier::~ScreenCopier()
{
    if (changes_ >= 0)
        ::close(changes_);
    // With every copy, also those given up on that screen wrote later.
    std::error_code ignored;
    if (!folder_.empty())
        std::filesystem::remove_all(folder_, ignored);
}

std::optional<std::vector<std::string>> ScreenCopier::lines(int wakeFd)
{
    if (changes_ < 0)
        return std::nullopt;
    // Each copy has a name of its own: one given up on may still be written
    // while the next is awaited, and must not pass for it.
    const std::string name = "window." + std::to_string(++copies_) + ".txt";
    const std::string path = folder_ + "/" + name;
    const ClientResult copied = runClient(
        {program_, "-S", window_.session, "-p", window_.window, "-X", "hardcopy", "-h", path}, kCopyTimeoutMs);
    if (copied.exitCode != 0 || !awaitCopy(name, wakeFd))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ::unlink(path.c_str());
    return screenLines(text, width_);
}

// screen writes the copy from its own process after the client has gone:
// the copy is whole when screen closes the file.
bool ScreenCopier::awaitCopy(const std::string& name, int wakeFd)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCopyTimeoutMs);
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd watched[2] = {{changes_, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int ready = ::poll(watched, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || watched[1].revents != 0)
            return false;
        alignas(inotify_event) char events[4096];
        const ssize_t got = ::read(changes_, events, sizeof events);
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->len > 0 && event->name == name)
                return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

} // namespace vt::multiplexer
