#include "platform/posix/console_processes.h"

#include <algorithm>

#include "platform/posix/proc_files.h"
#include "platform/posix/shell_command.h"

namespace vt::posix {

namespace {

bool isShell(pid_t pid)
{
    return isShellProgram(procName(pid)) || isShellProgram(procExecutableName(pid));
}

std::vector<ProcStat> groupMembers(pid_t group)
{
    return findProcesses([group](const ProcStat& process) { return process.group == group; });
}

// The terminal's foreground process group, read from the member's stat.
// Between a job's end and its shell taking the terminal back, the group
// named there has no process left: the member's own group (the shell) is
// what reads the terminal then. Without a terminal, the member's group is.
std::vector<ProcStat> foregroundGroup(const ProcStat& member)
{
    if (member.tty != 0 && member.terminalGroup > 0) {
        auto members = groupMembers(member.terminalGroup);
        if (!members.empty())
            return members;
    }
    return groupMembers(member.group);
}

std::string leaderName(const std::vector<ProcStat>& group)
{
    const auto leader =
        std::ranges::find_if(group, [](const ProcStat& process) { return process.pid == process.group; });
    return procName(leader != group.end() ? leader->pid : group.front().pid);
}

} // namespace

std::optional<ConsoleProcesses> consoleProcesses(pid_t member)
{
    const auto stat = readProcStat(member);
    if (!stat || stat->ended())
        return std::nullopt;
    const auto group = foregroundGroup(*stat);
    if (group.empty())
        return std::nullopt; // it ended while the group was being read

    ConsoleProcesses found;
    found.foreground = leaderName(group);
    bool onlyInteractiveShells = true;
    for (const auto& process : group) {
        if (!isShell(process.pid)) {
            found.server.push_back(process.pid);
            onlyInteractiveShells = false;
        } else if (!shellIsInteractive(procArguments(process.pid))) {
            onlyInteractiveShells = false;
        }
    }
    found.atShellPrompt = onlyInteractiveShells;
    // A script that reads the console itself, with no program of its own
    // running, is the server.
    found.onlyScripts = found.server.empty() && !found.atShellPrompt;
    if (found.onlyScripts) {
        for (const auto& process : group)
            found.server.push_back(process.pid);
    }
    return found;
}

std::optional<ConsoleSighting> newServerSighting(pid_t member, const std::vector<pid_t>& oldServer)
{
    const auto now = consoleProcesses(member);
    if (!now)
        return ConsoleSighting::ConsoleClosed;
    if (now->atShellPrompt || now->onlyScripts || now->server.empty())
        return std::nullopt;
    if (std::ranges::any_of(now->server, [&](pid_t pid) { return std::ranges::count(oldServer, pid) > 0; }))
        return std::nullopt;
    return ConsoleSighting::ServerStarted;
}

std::vector<pid_t> terminalChildren(pid_t terminal)
{
    const auto stat = readProcStat(terminal);
    if (!stat)
        return {};
    std::vector<pid_t> children;
    for (const auto& child : findProcesses([&](const ProcStat& process) {
             return process.parent == terminal && process.tty != 0 && process.tty != stat->tty;
         }))
        children.push_back(child.pid);
    return children;
}

} // namespace vt::posix
