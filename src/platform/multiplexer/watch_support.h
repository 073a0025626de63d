#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/link/console_watch.h"

namespace vt::multiplexer {

// A watch's sink as the contract wants it: each sighting passed on at most
// once, and none once close() has returned (a report under way finishes
// first).
class OnceSink {
public:
    explicit OnceSink(SightingSink sink) : sink_(std::move(sink)) {}
    void report(ConsoleSighting sighting);
    void close();

private:
    std::mutex mutex_;
    SightingSink sink_;
    std::array<bool, 5> sent_{};
    bool closed_ = false;
};

// Wakes a watch's thread from its poll() with the reasons gathered since it
// last looked.
class Wakeup {
public:
    enum Reason : unsigned { Stop = 1, ServerEnded = 2, GiveUpOutput = 4 };
    Wakeup();
    ~Wakeup();
    Wakeup(const Wakeup&) = delete;
    Wakeup& operator=(const Wakeup&) = delete;

    // From any thread.
    void notify(Reason reason);
    // The descriptor to poll for input.
    int fd() const { return fd_; }
    // The reasons since the last call; clears them.
    unsigned take();

private:
    int fd_;
    std::atomic<unsigned> reasons_{0};
};

// A non-blocking inotify descriptor watching path for the events in mask;
// -1 when it cannot be watched.
int watchPath(const std::string& path, std::uint32_t mask);

} // namespace vt::multiplexer
