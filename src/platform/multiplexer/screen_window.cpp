#include "platform/multiplexer/screen_window.h"

#include <algorithm>
#include <sstream>

#include "platform/keys/utf8.h"
#include "platform/posix/proc_files.h"

namespace vt::multiplexer {

namespace {

bool inWindow(pid_t pid, const std::string& window)
{
    const std::string environment = '\0' + posix::procEnvironment(pid);
    return environment.find(std::string(1, '\0') + "WINDOW=" + window + '\0') != std::string::npos;
}

} // namespace

// Processes end all the while: one that ends as its files are read counts
// as gone (read through the stream library, such a read would throw).
pid_t screenWindowProcess(pid_t screenPid, const std::string& window)
{
    for (const pid_t pid : posix::listProcesses()) {
        const auto stat = posix::readProcStat(pid);
        if (stat && stat->parent == screenPid && inWindow(pid, window))
            return pid;
    }
    return 0;
}

std::string hardcopyText(std::string_view bytes)
{
    std::string text;
    for (const char byte : bytes) {
        const auto cell = static_cast<unsigned char>(byte);
        if (cell != 0xff)
            appendUtf8(text, cell);
    }
    return text;
}

std::string asHardcopyText(std::string_view utf8)
{
    const Utf8Decoding decoded = decodeUtf8(utf8);
    std::string text;
    for (const char32_t character : decoded.text) {
        if ((character & 0xff) != 0xff)
            appendUtf8(text, character & 0xff);
    }
    return text;
}

std::vector<std::string> screenLines(const std::string& hardcopy, std::size_t width)
{
    std::vector<std::string> lines;
    std::istringstream rows(hardcopy);
    std::string row;
    bool continues = false;
    while (std::getline(rows, row)) {
        if (continues)
            lines.back() += row;
        else
            lines.push_back(row);
        continues = width > 0 && row.size() >= width;
    }
    while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos)
        lines.pop_back();
    return lines;
}

std::vector<std::string> newScreenLines(const std::vector<std::string>& before, const std::vector<std::string>& now)
{
    if (before.empty())
        return now;
    // Every line before the last is settled: find them, whole, at the top of
    // now after the fewest lines scrolled out.
    const std::size_t settled = before.size() - 1;
    for (std::size_t dropped = 0; dropped <= settled; ++dropped) {
        const std::size_t kept = settled - dropped;
        if (kept > now.size())
            continue;
        if (!std::equal(before.begin() + static_cast<std::ptrdiff_t>(dropped),
                        before.begin() + static_cast<std::ptrdiff_t>(settled), now.begin()))
            continue;
        // The last line is new only if it changed: an old answer left
        // there must not answer this step.
        const std::size_t first = kept < now.size() && now[kept] == before.back() ? kept + 1 : kept;
        return {now.begin() + static_cast<std::ptrdiff_t>(first), now.end()};
    }
    return now;
}

std::optional<std::size_t> screenWidth(const std::string& info)
{
    const std::size_t open = info.find(")/(");
    if (open == std::string::npos)
        return std::nullopt;
    std::size_t width = 0;
    std::size_t i = open + 3;
    for (; i < info.size() && info[i] >= '0' && info[i] <= '9'; ++i)
        width = width * 10 + static_cast<std::size_t>(info[i] - '0');
    if (i == open + 3 || i >= info.size() || info[i] != ',' || width > 10000)
        return std::nullopt;
    return width;
}

} // namespace vt::multiplexer
