#include "platform/posix/durable_file.h"

#include "platform/failures.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vt::posix {

namespace {

constexpr mode_t kPrivateFile = 0600;
constexpr mode_t kPrivateDirectory = 0700;

[[noreturn]] void fail(const std::string& what, const std::string& path, int error = errno)
{
    throw StoreError("cannot " + what + " " + path + ": " + std::strerror(error));
}

void writeAll(int fd, std::string_view content, const std::string& path)
{
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

// Makes the rename itself survive a power cut. By now the new file is in
// place and complete: whatever this returns, the settings were saved, so a
// failure here is no failure of the save and is not reported as one.
void syncDirectory(const std::string& directory)
{
    const UniqueFd fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

std::string kindOf(mode_t mode)
{
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "something other than a regular file";
}

// As ssh judges its own files: ours or root's, and writable by the owner alone.
bool trustedOwnerAndModes(const struct stat& info)
{
    return (info.st_uid == ::geteuid() || info.st_uid == 0) && (info.st_mode & 022) == 0;
}

void checkRegularTrustedFile(const struct stat& info, const std::string& path, std::size_t maxBytes)
{
    if (!S_ISREG(info.st_mode)) {
        throw StoreError(path + " is " + kindOf(info.st_mode) + ", not a settings file; it is not used");
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        throw StoreError(path + " is larger than " + std::to_string(maxBytes / 1024) + " KiB (" +
                         std::to_string(info.st_size) +
                         " bytes), far more than settings take; it is not used and left as it is");
    }
    if (!trustedOwnerAndModes(info)) {
        throw StoreError("bad ownership or modes for file " + path +
                         ": it must belong to you and be writable by you alone; it is not used");
    }
}

std::string readUpTo(int fd, const std::string& path, std::size_t maxBytes)
{
    std::string content;
    char buffer[16384];
    for (;;) {
        const auto got = ::read(fd, buffer, sizeof buffer);
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
        if (content.size() > maxBytes) {
            throw StoreError(path + " grew beyond " + std::to_string(maxBytes / 1024) +
                             " KiB while it was read; it is not used");
        }
    }
}

// A directory that exists, or that we just made; anything else in the way is
// reported, since every later step would fail with a less helpful message.
void makeDirectory(const std::string& directory)
{
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
        throw StoreError("cannot create the directory " + directory + ": a file that is not a directory has that name");
    }
    fail("create the directory", directory, error);
}

// What the link says, as the operator wrote it.
std::string linkText(const std::string& path)
{
    std::string text(PATH_MAX, '\0');
    const auto length = ::readlink(path.c_str(), text.data(), text.size());
    if (length < 0) {
        fail("read the symbolic link", path);
    }
    text.resize(static_cast<std::size_t>(length));
    return text;
}

} // namespace

std::string parentOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other) {
        UniqueFd old(fd_);
        fd_ = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

int UniqueFd::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::optional<std::string> readFileIfPresent(const std::string& path)
{
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 && errno == ENOENT) {
        return std::nullopt;
    }
    if (fd.get() < 0) {
        fail("open", path);
    }
    return readUpTo(fd.get(), path, std::numeric_limits<std::size_t>::max());
}

std::optional<std::string> readTrustedFile(const std::string& path, std::size_t maxBytes)
{
    // Looked at before it is opened, so that a device is never opened at all
    // (opening one can have effects of its own).
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        fail("look at", path);
    }
    checkRegularTrustedFile(info, path, maxBytes);
    // O_NONBLOCK: should a FIFO have taken the file's place since, the open
    // returns at once instead of waiting for a writer, and fstat refuses it.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0 && errno == ENOENT) {
        return std::nullopt;
    }
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
        fail("open", path);
    }
    checkRegularTrustedFile(info, path, maxBytes);
    return readUpTo(fd.get(), path, maxBytes);
}

void checkTrustedDirectory(const std::string& directory)
{
    struct stat info {};
    if (::stat(directory.c_str(), &info) != 0) {
        // Absent, or a file in the way: the read or write that follows says so.
        if (errno == ENOENT || errno == ENOTDIR) {
            return;
        }
        fail("look at", directory);
    }
    if (!trustedOwnerAndModes(info)) {
        throw StoreError("bad ownership or modes for directory " + directory +
                         ": it must belong to you and be writable by you alone; "
                         "the settings in it are not used");
    }
}

std::string linkTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        if (errno == ENOENT) {
            throw StoreError(path + " is a symbolic link to " + linkText(path) +
                             ", a file that does not exist; create the file it names or remove the link");
        }
        fail("follow the symbolic link", path);
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

void makeDirectories(const std::string& directory)
{
    for (auto slash = directory.find('/', 1); slash != std::string::npos; slash = directory.find('/', slash + 1)) {
        makeDirectory(directory.substr(0, slash));
    }
    makeDirectory(directory);
}

FileLock::FileLock(const std::string& lockPath, std::chrono::milliseconds timeout)
    // Read-only is enough for flock, and works even if the umask left us no
    // write bit. O_NONBLOCK: a FIFO in its place must not hold us up.
    : fd_(::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, kPrivateFile))
{
    if (fd_.get() < 0 && errno == ELOOP) {
        throw StoreError("the lock file " + lockPath + " is a symbolic link; remove it (the program makes its own)");
    }
    if (fd_.get() < 0) {
        fail("open the lock file", lockPath);
    }
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0) {
        fail("look at the lock file", lockPath);
    }
    if (!S_ISREG(info.st_mode)) {
        throw StoreError("the lock file " + lockPath + " is " + kindOf(info.st_mode) +
                         "; remove it (the program makes its own)");
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

void replaceFileDurably(const std::string& path, std::string_view content)
{
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
