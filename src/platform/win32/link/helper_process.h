#pragma once

#include <cstdint>
#include <string>

namespace vt::win32 {

// What a run of the console helper gave.
struct HelperRun {
    std::string output;         // everything it wrote, in order
    bool timedOut = false;      // it was ended for taking too long
    std::uint32_t exitCode = 0; // when it ended by itself
};

// Starts this program again as the console helper, hands it the request on
// its standard input and collects its standard output until it ends, for
// at most limitMs; then it is ended. Throws KeySenderFailed when it cannot
// be started.
HelperRun runConsoleHelperProcess(const std::string& request, unsigned limitMs);

// "it did not answer within 10 s", "it ended with status 0xC000013A".
std::string howHelperEnded(const HelperRun& run);

} // namespace vt::win32
