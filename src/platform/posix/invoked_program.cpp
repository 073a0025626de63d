#include "platform/posix/invoked_program.h"

#include "platform/posix/durable_file.h"

#include <cerrno>
#include <climits>

#include <unistd.h>

namespace vt::posix {

namespace {

// argv[0] as the kernel shows it; /proc/self/cmdline separates the arguments
// with NUL bytes.
std::string firstArgument()
{
    try {
        const auto cmdline = posix::readFileIfPresent("/proc/self/cmdline");
        if (cmdline) {
            return cmdline->substr(0, cmdline->find('\0'));
        }
    } catch (const std::exception&) {
        // No /proc: glibc keeps its own copy of argv[0].
    }
    return program_invocation_name != nullptr ? program_invocation_name : "";
}

std::string executableFile()
{
    char target[PATH_MAX];
    const auto length = ::readlink("/proc/self/exe", target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

} // namespace

std::string invokedProgramPath()
{
    auto path = firstArgument();
    return path.empty() ? executableFile() : path;
}

} // namespace vt::posix
