#include "platform/posix/proc_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <sstream>

namespace vt::posix {

namespace {

std::string procPath(pid_t pid, const char* file)
{
    return "/proc/" + std::to_string(pid) + "/" + file;
}

// A process may end while its files are read: the read then fails (ESRCH)
// and the process counts as gone.
std::optional<std::string> readWhole(const std::string& path)
{
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(file, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0)
            text.append(buffer, static_cast<size_t>(got));
    }
    ::close(file);
    if (got < 0)
        return std::nullopt;
    return text;
}

bool isNumber(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9')
            return false;
    }
    return true;
}

} // namespace

std::optional<ProcStat> readProcStat(pid_t pid)
{
    const auto text = readWhole(procPath(pid, "stat"));
    // The name between the parentheses may itself hold spaces and
    // parentheses: the fields start after the last ')'.
    const auto close = text ? text->rfind(')') : std::string::npos;
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(text->substr(close + 1));
    ProcStat stat;
    stat.pid = pid;
    if (!(fields >> stat.state >> stat.parent >> stat.group >> stat.session >> stat.tty >> stat.terminalGroup))
        return std::nullopt;
    return stat;
}

std::vector<pid_t> listProcesses()
{
    std::vector<pid_t> pids;
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
    if (!proc)
        return pids;
    while (const dirent* entry = ::readdir(proc.get())) {
        if (isNumber(entry->d_name))
            pids.push_back(static_cast<pid_t>(std::stol(entry->d_name)));
    }
    return pids;
}

std::string procName(pid_t pid)
{
    std::string name = readWhole(procPath(pid, "comm")).value_or("");
    if (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}

std::string procLink(pid_t pid, const std::string& file)
{
    char target[4096];
    const ssize_t length = ::readlink(procPath(pid, file.c_str()).c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<size_t>(length)) : "";
}

std::string procExecutableName(pid_t pid)
{
    std::string path = procLink(pid, "exe");
    if (path.empty())
        return "";
    // A program whose file was replaced (an upgrade) reads "... (deleted)".
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    return path.substr(path.rfind('/') + 1);
}

std::vector<std::string> procArguments(pid_t pid)
{
    std::vector<std::string> arguments;
    const std::string text = readWhole(procPath(pid, "cmdline")).value_or("");
    std::string::size_type start = 0;
    while (start < text.size()) {
        auto end = text.find('\0', start);
        if (end == std::string::npos)
            end = text.size();
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

std::string procEnvironment(pid_t pid)
{
    return readWhole(procPath(pid, "environ")).value_or("");
}

} // namespace vt::posix
