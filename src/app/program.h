#pragma once

#include "platform/services.h"

namespace vt {

// Creates the main window, loads and shows it, and runs the event loop until
// it has unloaded. Returns the process exit code.
int runProgram(Services& services);

} // namespace vt
