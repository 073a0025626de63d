#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/services.h"

namespace vt {

// Creates the main window, loads and shows it, and runs the event loop until
// it has unloaded. Returns the process exit code.
int runProgram(Services& services);

// Exit statuses of runUnattended, for whatever started the program.
inline constexpr int kRunCompleted = 0;
inline constexpr int kRunFailed = 1; // gave up, or the command's fate is not known
inline constexpr int kNothingArmed = 2;
inline constexpr int kRunAborted = 3; // closed from outside (a signal) before the command
// The command was delivered, but the server did not stop within the bound, or
// a restart was only a stop.
inline constexpr int kServerDidNotObey = 4;

// The stop bound from VT_HALTWARD_STOP_WAIT (whole seconds, at least 1), as
// Services holds it; nullptr or empty is the default of 5 minutes. Any other
// text throws Failure: a scheduled run must not wait by a bound nobody set.
std::int64_t stopWaitMsFrom(const char* seconds);

// The program where nobody can click (no display): the main window loads as
// usual, and only a run armed by a stored AutoStart tick makes it run on.
// When nothing is armed, explainNothingArmed is called and the program ends
// with kNothingArmed, storing nothing. A stored tick refused at load (a
// message that can never be typed) ends it at once with kRunFailed, storing
// nothing. Otherwise, once the command's outcome is known (at most the stop
// bound after it), it ends with kRunCompleted, kRunFailed when the run
// failed, with or without AutoClose, kRunAborted, or kServerDidNotObey.
int runUnattended(Services& services, const std::function<void()>& explainNothingArmed);

} // namespace vt
