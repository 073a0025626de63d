#include "platform/x11/x11_console_server.h"

#include <atomic>

#include "platform/posix/server_comeback.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_windows.h"

namespace vt::x11 {

namespace {

const char* const kCannotWatch = "; the server cannot be watched";

// The terminal's child on a terminal of its own, and what reads that
// terminal.
TerminalServer serverOfTerminal(pid_t terminal)
{
    TerminalServer found;
    found.terminal = terminal;
    const auto children = posix::terminalChildren(terminal);
    if (children.size() > 1) {
        found.unwatchedWhy = "the terminal process hosts several windows; the server cannot be told apart";
        return found;
    }
    if (children.size() == 1) {
        found.member = children.front();
        found.processes = posix::consoleProcesses(found.member);
    }
    if (!found.processes)
        found.unwatchedWhy = std::string("the terminal runs no program on a terminal of its own") + kCannotWatch;
    return found;
}

// The watches report through one of these, so that only the first end is
// told; it outlives a watch whose own callback destroyed it.
class OnceSink {
public:
    explicit OnceSink(SightingSink sink) : sink_(std::move(sink)) {}
    void ended()
    {
        if (!told_.test_and_set())
            sink_(ConsoleSighting::ServerEnded);
    }
    void seen(ConsoleSighting sighting) { sink_(sighting); }

private:
    SightingSink sink_;
    std::atomic_flag told_;
};

class ServerEndWatch : public StepWatch {
public:
    ServerEndWatch(const TerminalServer& server, bool restart, SightingSink sink)
        : sink_(std::make_shared<OnceSink>(std::move(sink))),
          comeback_(restart ? std::make_unique<posix::ServerComeback>(
                                  server.member, server.processes->server,
                                  [sink = sink_](ConsoleSighting seen) { sink->seen(seen); })
                            : nullptr),
          server_(server.processes->server,
                  [sink = sink_, comeback = comeback_.get()] {
                      if (comeback)
                          comeback->serverEnded();
                      sink->ended(); // last: it may destroy this watch
                  }),
          terminal_({server.terminal}, [sink = sink_] { sink->ended(); })
    {
    }

private:
    std::shared_ptr<OnceSink> sink_;
    // Outlives the end watches, whose callback tells it.
    std::unique_ptr<posix::ServerComeback> comeback_;
    posix::ProcessEndWatch server_;
    posix::ProcessEndWatch terminal_;
};

} // namespace

TerminalServer findTerminalServer(Display* display, Window window)
{
    ErrorTrap trap(display); // the window may close meanwhile
    const auto pid = windowProcessId(display, window);
    const auto machine = otherClientMachine(display, window);
    TerminalServer found;
    if (trap.failed() || !pid || *pid == 0)
        found.unwatchedWhy = std::string("the terminal does not say which process it is (_NET_WM_PID)") + kCannotWatch;
    else if (machine)
        found.unwatchedWhy = "the terminal runs on another machine ('" + *machine + "')" + kCannotWatch;
    else
        found = serverOfTerminal(static_cast<pid_t>(*pid));
    return found;
}

std::unique_ptr<StepWatch> watchServerEnd(const TerminalServer& server, StepExpectation::Kind step, SightingSink sink)
{
    if (!server.watched())
        return nullptr;
    return std::make_unique<ServerEndWatch>(server, step == StepExpectation::Kind::Restart, std::move(sink));
}

} // namespace vt::x11
