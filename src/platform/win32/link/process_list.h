#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vt::win32 {

struct RunningProcess {
    std::uint32_t id = 0;
    std::uint32_t parent = 0;
    std::string image; // its executable's file name, in UTF-8
};

// Every process running now, from one system snapshot. Throws
// KeySenderFailed when the system gives none.
std::vector<RunningProcess> runningProcesses();

} // namespace vt::win32
