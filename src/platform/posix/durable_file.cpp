#include "platform/posix/durable_file.h"

#include "platform/failures.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::posix {

namespace {

constexpr mode_t kPrivateFile = 0600;
constexpr mode_t kPrivateDirectory = 0700;

[[noreturn]] void fail(const std::string& what, const std::string& path, int error = errno) {
    throw StoreError("cannot " + what + " " + path + ": " + std::strerror(error));
}

std::string parentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void writeAll(int fd, std::string_view content, const std::string& path) {
    while (!content.empty()) {
        const auto written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            fail("write", path);
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
}

void syncDirectory(const std::string& directory) {
    UniqueFd fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || ::fsync(fd.get()) != 0) {
        fail("sync the directory", directory);
    }
}

// A directory that exists, or that we just made; anything else in the way is
// reported, since every later step would fail with a less helpful message.
void makeDirectory(const std::string& directory) {
    if (::mkdir(directory.c_str(), kPrivateDirectory) == 0) {
        // The umask may have taken away our own bits, which later writes need.
        if (::chmod(directory.c_str(), kPrivateDirectory) != 0) {
            fail("set the mode of", directory);
        }
        return;
    }
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && ::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return;
    }
    if (error == EEXIST) {
        throw StoreError("cannot create the directory " + directory +
                         ": a file that is not a directory has that name");
    }
    fail("create the directory", directory, error);
}

} // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        UniqueFd old(fd_);
        fd_ = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int UniqueFd::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::optional<std::string> readFileIfPresent(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 && errno == ENOENT) {
        return std::nullopt;
    }
    if (fd.get() < 0) {
        fail("open", path);
    }
    std::string content;
    char buffer[16384];
    for (;;) {
        const auto got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            fail("read", path);
        }
        if (got == 0) {
            return content;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

void makeDirectories(const std::string& directory) {
    for (auto slash = directory.find('/', 1); slash != std::string::npos;
         slash = directory.find('/', slash + 1)) {
        makeDirectory(directory.substr(0, slash));
    }
    makeDirectory(directory);
}

FileLock::FileLock(const std::string& lockPath, std::chrono::milliseconds timeout)
    // Read-only is enough for flock, and works even if the umask left us no write bit.
    : fd_(::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, kPrivateFile)) {
    if (fd_.get() < 0) {
        fail("open the lock file", lockPath);
    }
    // flock has no timeout of its own, so poll, backing off from 0.1 to 5 ms.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::microseconds(100);
    while (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            fail("lock", lockPath);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw StoreError("cannot lock " + lockPath + ": another process has held it for over " +
                             std::to_string(timeout.count()) + " ms");
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
}

void replaceFileDurably(const std::string& path, std::string_view content) {
    const auto temporary = path + ".tmp";
    // A temporary file left by a writer that died is ours to replace.
    if (::unlink(temporary.c_str()) != 0 && errno != ENOENT) {
        fail("remove the old temporary file", temporary);
    }
    UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateFile));
    if (fd.get() < 0) {
        fail("create", temporary);
    }
    try {
        // The umask may have taken away our own read or write bit.
        if (::fchmod(fd.get(), kPrivateFile) != 0) {
            fail("set the mode of", temporary);
        }
        writeAll(fd.get(), content, temporary);
        if (::fsync(fd.get()) != 0) {
            fail("sync", temporary);
        }
        if (::close(fd.release()) != 0) {
            fail("write", temporary);
        }
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            fail("replace " + path + " with", temporary);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    syncDirectory(parentOf(path));
}

} // namespace vt::posix
