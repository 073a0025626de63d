#pragma once

#include <sys/types.h>

#include <string>

namespace vt::testing {

// The program of a window of a stand-in screen session whose screen process
// is this test: a `sleep` child with WINDOW=<window> in its environment, as
// screen starts it. With output, that is its standard input, output and
// error (a window's terminal, or /dev/null).
class WindowProgram {
public:
    explicit WindowProgram(const std::string& window = "0", int output = -1);
    ~WindowProgram() { end(); }
    WindowProgram(const WindowProgram&) = delete;
    WindowProgram& operator=(const WindowProgram&) = delete;

    // 0 once it has ended.
    pid_t pid() const { return pid_; }
    // The window's program ends, as when its server stops.
    void end();

private:
    pid_t pid_ = 0;
};

} // namespace vt::testing
