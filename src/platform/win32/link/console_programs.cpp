#include "platform/win32/link/console_programs.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vt::win32 {

namespace {

// File names compare without regard to case, as Windows compares them.
std::string lowered(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// A full path or a bare name: the file name is what counts.
std::string fileName(std::string_view image)
{
    const std::size_t slash = image.find_last_of("\\/");
    return lowered(slash == std::string_view::npos ? image : image.substr(slash + 1));
}

bool isShell(const std::string& name)
{
    constexpr std::array<std::string_view, 3> kShells = {"cmd.exe", "powershell.exe", "pwsh.exe"};
    return std::find(kShells.begin(), kShells.end(), name) != kShells.end();
}

// The console's host draws it; where it shows among the console's
// programs, it reads nothing typed.
bool isConsoleHost(const std::string& name)
{
    return name == "conhost.exe" || name == "openconsole.exe";
}

} // namespace

ConsoleReaders consoleReaders(const std::vector<ConsoleProgram>& programs, std::string_view helperImage)
{
    const std::string helper = fileName(helperImage);
    ConsoleReaders readers;
    bool shells = false;
    for (const ConsoleProgram& program : programs) {
        const std::string name = fileName(program.image);
        if (name == helper || isConsoleHost(name))
            continue;
        if (isShell(name))
            shells = true;
        else
            readers.server.push_back(program.process);
    }
    readers.atShellPrompt = shells && readers.server.empty();
    return readers;
}

std::string titleUnderSelection(std::string_view title)
{
    for (const std::string_view word : {std::string_view("Select "), std::string_view("Mark ")}) {
        if (title.size() > word.size() && title.substr(0, word.size()) == word)
            return std::string(title.substr(word.size()));
    }
    return {};
}

} // namespace vt::win32
