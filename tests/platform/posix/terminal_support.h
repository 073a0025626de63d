#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vt::testing {

// A program run on a pseudo-terminal of its own, as a terminal emulator or a
// tmux pane runs it: it leads a new session with the terminal as its
// controlling terminal. The prompt of a shell started here is kPrompt.
class TerminalProgram {
public:
    static constexpr const char* kPrompt = "vt-test-prompt> ";

    // arguments[0] is the name the program is started under ("-bash" for a
    // login shell), program the file to run.
    TerminalProgram(const std::string& program, const std::vector<std::string>& arguments);
    // Ends every process of the terminal's session.
    ~TerminalProgram();
    TerminalProgram(const TerminalProgram&) = delete;
    TerminalProgram& operator=(const TerminalProgram&) = delete;

    pid_t pid() const { return pid_; }
    // Reads the terminal until its output holds text; false after a minute.
    bool waitForOutput(const std::string& text);
    void type(const std::string& text);

private:
    pid_t pid_ = -1;
    int terminal_ = -1;
    std::string output_;
};

} // namespace vt::testing
