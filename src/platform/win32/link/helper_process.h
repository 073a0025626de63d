#pragma once

#include <windows.h>

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

// A helper that goes on after its first answer (a watch): started with its
// request, read as it answers, ended at the latest with the object.
class RunningHelper {
public:
    // Throws KeySenderFailed when it cannot be started.
    explicit RunningHelper(const std::string& request);
    ~RunningHelper();
    RunningHelper(const RunningHelper&) = delete;
    RunningHelper& operator=(const RunningHelper&) = delete;

    // Adds what it says within limitMs, returning as soon as anything came.
    // False once it has ended and everything it said is read.
    bool readFor(std::string& into, unsigned limitMs);
    // Waits as long as it takes for more; false at its end. Another
    // thread's end() makes it return.
    bool read(std::string& into);
    // Ends it, if it still runs.
    void end();

private:
    HANDLE process_ = nullptr;
    HANDLE output_ = nullptr;
};

// "it did not answer within 10 s", "it ended with status 0xC000013A".
std::string howHelperEnded(const HelperRun& run);

} // namespace vt::win32
