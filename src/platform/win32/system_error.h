#pragma once

#include <string>

namespace vt::win32 {

// The system's own words for an error code, "Access is denied. (error 5)".
std::string systemMessage(unsigned long code);

} // namespace vt::win32
