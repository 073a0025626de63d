#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vt::posix {

// The fields of /proc/PID/stat this program needs.
struct ProcStat {
    pid_t pid = 0;
    char state = '?';
    pid_t parent = 0;
    pid_t group = 0;
    pid_t session = 0;
    // The controlling terminal's device number; 0 when there is none.
    int tty = 0;
    // The terminal's foreground process group; -1 when there is none.
    pid_t terminalGroup = -1;

    // A zombie has ended: only its exit status is left for its parent.
    bool ended() const { return state == 'Z' || state == 'X'; }
};

// nullopt when the process has gone (or its files cannot be read).
std::optional<ProcStat> readProcStat(pid_t pid);

// Every process the system lists now, threads not counted.
std::vector<pid_t> listProcesses();

// The processes, still running, whose stat matches; in /proc's order.
template <typename Predicate>
std::vector<ProcStat> findProcesses(Predicate wanted)
{
    std::vector<ProcStat> found;
    for (const pid_t pid : listProcesses()) {
        const auto stat = readProcStat(pid);
        if (stat && !stat->ended() && wanted(*stat))
            found.push_back(*stat);
    }
    return found;
}

// The kernel's name of the program (its file name, at most 15 bytes).
std::string procName(pid_t pid);
// Where the symbolic link /proc/PID/FILE points ("exe", "fd/1"); empty when
// it cannot be read (gone, or another user's process).
std::string procLink(pid_t pid, const std::string& file);
// The file name of the program's executable; empty when it cannot be read
// (another user's process).
std::string procExecutableName(pid_t pid);
// The arguments, argv[0] first.
std::vector<std::string> procArguments(pid_t pid);
// The environment it started with, each NAME=VALUE ended by '\0'; empty when
// it cannot be read (gone, or another user's).
std::string procEnvironment(pid_t pid);

} // namespace vt::posix
