#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "platform/link/console_watch.h"

namespace vt::multiplexer {

// A screen window as the watch reaches it.
struct ScreenWindow {
    std::string session; // "PID.NAME"
    std::string window;  // its number
    pid_t process = 0;   // the process screen started in it
};

// Watches a screen window for a step. screen cannot stream a window's output:
// while a say line's answer (or a restart's report) is awaited, at most
// kScreenReadMs, the window is copied out with "hardcopy -h" into a private
// folder and its new lines are read; then the copying stops. It is copied
// when the window's program writes to its terminal, at most every
// kScreenCopyIntervalMs, and every kScreenQuietCopyMs while nothing is
// written. The server's end is seen from its processes, with a last
// copy for a restart's report. It returns once the window's lines before the keys are known.
std::unique_ptr<StepWatch> watchScreenWindow(const std::string& program, const ScreenWindow& window,
                                             const StepExpectation& expected, SightingSink sink);

inline constexpr int kScreenReadMs = 5000;
inline constexpr int kScreenCopyIntervalMs = 20;
inline constexpr int kScreenQuietCopyMs = 250;

} // namespace vt::multiplexer
