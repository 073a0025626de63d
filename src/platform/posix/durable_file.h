#pragma once

#include <chrono>
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

// Creates the directory and any missing parents with mode 0700.
void makeDirectories(const std::string& directory);

// An exclusive flock on a lock file, held until destruction; the kernel drops
// it when its process dies, however it dies.
class FileLock {
public:
    FileLock(const std::string& lockPath, std::chrono::milliseconds timeout);

private:
    UniqueFd fd_;
};

// Replaces the file so that a crash at any moment leaves either the old or the
// new content: a 0600 temporary file beside it, written and fsynced, renamed
// over it, then the directory fsynced. The caller holds the lock.
void replaceFileDurably(const std::string& path, std::string_view content);

} // namespace vt::posix
