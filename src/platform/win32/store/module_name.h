#pragma once

#include <string>

namespace vt::win32 {

// EXEName of the running program: its executable's file name without the
// extension, read afresh from the system at every call.
std::string runningExeName();

// The running program's executable, its full path.
std::wstring runningExePath();

} // namespace vt::win32
