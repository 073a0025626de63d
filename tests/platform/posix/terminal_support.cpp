#include "platform/posix/terminal_support.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "platform/posix/proc_files.h"

namespace vt::testing {

TerminalProgram::TerminalProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    // Everything the child needs is made before fork: after it, only exec.
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string prompt = std::string("PS1=") + kPrompt;
    const std::string path = std::string("PATH=") + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
    std::vector<char*> environment = {const_cast<char*>(prompt.c_str()), const_cast<char*>(path.c_str()),
                                      const_cast<char*>("TERM=dumb"), const_cast<char*>("HOME=/nonexistent"), nullptr};
    // Closed by the exec: once it reads end of file, the child leads its
    // session on the terminal and runs the program.
    int started[2];
    if (::pipe2(started, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    pid_ = ::forkpty(&terminal_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
        ::execve(program.c_str(), argv.data(), environment.data());
        (void)!::write(started[1], "x", 1);
        ::_exit(127);
    }
    ::close(started[1]);
    char failed = 0;
    const bool execFailed = pid_ > 0 && ::read(started[0], &failed, 1) == 1;
    ::close(started[0]);
    if (pid_ < 0 || execFailed)
        throw std::runtime_error("cannot start " + program + " on a terminal");
}

TerminalProgram::~TerminalProgram()
{
    const pid_t session = pid_;
    for (const auto& process :
         posix::findProcesses([session](const posix::ProcStat& p) { return p.session == session; }))
        ::kill(process.pid, SIGKILL);
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    ::close(terminal_);
}

bool TerminalProgram::waitForOutput(const std::string& text)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    std::string::size_type found;
    while ((found = output_.find(text)) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd readable = {terminal_, POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(terminal_, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        output_.append(buffer, static_cast<size_t>(got));
    }
    output_.erase(0, found + text.size()); // the next wait looks for new output
    return true;
}

void TerminalProgram::type(const std::string& text)
{
    if (::write(terminal_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        throw std::runtime_error("could not type into the terminal");
}

} // namespace vt::testing
