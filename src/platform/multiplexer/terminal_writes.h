#pragma once

#include <sys/types.h>

#include <string>

namespace vt::multiplexer {

// Hears a terminal being written to. The kernel raises IN_MODIFY on a
// terminal's /dev/pts/N for every write a program makes to it, so a watch can
// wait for the server's output instead of looking on a clock. What the
// terminal writes itself (the echo of typed keys) raises nothing.
class TerminalWrites {
public:
    // The terminal process `pid` writes its output to. Nothing is heard when
    // it writes to no pseudo-terminal, has gone, or the terminal cannot be
    // watched.
    explicit TerminalWrites(pid_t pid);
    ~TerminalWrites();
    TerminalWrites(const TerminalWrites&) = delete;
    TerminalWrites& operator=(const TerminalWrites&) = delete;

    bool hearing() const { return changes_ >= 0; }
    // Readable once something has been written; -1 when not hearing.
    int fd() const { return changes_; }
    // Whether anything was written since the last call.
    bool take();

private:
    int changes_ = -1;
};

// "/dev/pts/N" for the pseudo-terminal process `pid` writes its output to
// (its standard output, else its standard error or input); empty when none.
std::string outputTerminal(pid_t pid);

} // namespace vt::multiplexer
