#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The file operations the settings file needs, on POSIX calls. Every failure
// throws StoreError naming the path and the system's reason.
namespace vt::posix {

// Owns an open file descriptor and closes it.
class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    int release();

private:
    int fd_;
};

// The whole content of the file, or nothing when it does not exist.
std::optional<std::string> readFileIfPresent(const std::string& path);

// The whole content of a file whose content the program acts on (its values
// are typed into the server console), or nothing when it does not exist; a
// symlink is followed. Refused with StoreError, and never opened in a way
// that could block: anything but a regular file (a FIFO, a device, a
// directory), a file over maxBytes, and a file that is owned by another user
// than us or root, or writable by group or others.
std::optional<std::string> readTrustedFile(const std::string& path, std::size_t maxBytes);

// Refuses (StoreError) a directory owned by another user than us or root, or
// writable by group or others: whoever can write it can swap our file.
// An absent directory passes.
void checkTrustedDirectory(const std::string& directory);

// The file behind path: path itself, or the file its symlinks lead to, which
// is what a read judges and reads and what a rewrite replaces (the link
// stays). A link that leads nowhere is refused, naming where it leads: read
// as absent it would silently arm nothing, and writing through it would
// create a file elsewhere.
std::string linkTarget(const std::string& path);

std::string parentOf(const std::string& path);

// Creates the directory and any missing parents with mode 0700.
void makeDirectories(const std::string& directory);

// An exclusive flock on a lock file, held until destruction; the kernel drops
// it when its process dies, however it dies. The lock file is never reached
// through a symlink (which could make us create a file elsewhere) and must be
// a regular file.
class FileLock {
public:
    FileLock(const std::string& lockPath, std::chrono::milliseconds timeout);

private:
    UniqueFd fd_;
};

// Replaces the file so that a crash at any moment leaves either the old or the
// new content: a 0600 temporary file beside it, written and fsynced, renamed
// over it, then the directory fsynced. The caller holds the lock. path must
// not be a symlink (see linkTarget).
void replaceFileDurably(const std::string& path, std::string_view content);

} // namespace vt::posix
