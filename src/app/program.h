#pragma once

#include <functional>

#include "platform/services.h"

namespace vt {

// Creates the main window, loads and shows it, and runs the event loop until
// it has unloaded. Returns the process exit code.
int runProgram(Services& services);

// Exit status of runUnattended when the stored settings arm no run.
inline constexpr int kNothingArmed = 2;

// The program where nobody can click (no display): the main window loads as
// usual, and only a run armed by a stored AutoStart tick makes it run on.
// When nothing is armed, explainNothingArmed is called and the program ends
// with kNothingArmed, storing nothing. A stored tick refused at load (a
// message that can never be typed) ends it at once with 1, storing nothing.
// Otherwise it ends with 0, or 1 when the run gave up, with or without
// AutoClose.
int runUnattended(Services& services, const std::function<void()>& explainNothingArmed);

} // namespace vt
