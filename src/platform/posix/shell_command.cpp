#include "platform/posix/shell_command.h"

#include <algorithm>
#include <iterator>

namespace vt::posix {

namespace {

// Options whose value is the next argument, so that value is not taken for
// a script.
bool takesValue(const std::string& option)
{
    static constexpr std::string_view longOptions[] = {"--rcfile", "--init-file", "--init-command"};
    if (std::ranges::find(longOptions, option) != std::end(longOptions))
        return true;
    // -o NAME, +o NAME, -O NAME (bash's set and shopt options), also at the
    // end of a group such as -eo.
    const bool shortGroup = option.size() >= 2 && (option[0] == '-' || option[0] == '+') && option[1] != '-';
    return shortGroup && (option.back() == 'o' || option.back() == 'O');
}

bool runsCommandString(const std::string& option)
{
    if (option == "--command" || option.starts_with("--command="))
        return true;
    const bool shortGroup = option.size() >= 2 && option[0] == '-' && option[1] != '-';
    return shortGroup && option.find('c') != std::string::npos;
}

// Reads commands from standard input (-s): what follows are its parameters.
bool readsStandardInput(const std::string& option)
{
    const bool shortGroup = option.size() >= 2 && option[0] == '-' && option[1] != '-';
    return shortGroup && option.find('s') != std::string::npos;
}

} // namespace

bool isShellProgram(std::string_view name)
{
    static constexpr std::string_view shells[] = {"bash",  "rbash", "sh",  "dash",    "ash",  "zsh",
                                                  "zsh5",  "fish",  "ksh", "ksh93",   "mksh", "lksh",
                                                  "pdksh", "tcsh",  "csh", "bsd-csh", "yash"};
    return std::ranges::find(shells, name) != std::end(shells);
}

bool shellIsInteractive(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return false;
    if (arguments[0].starts_with("-"))
        return true; // a login shell, as login, sshd or su - start it
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--" || argument == "-")
            return i + 1 == arguments.size();
        if (argument.size() < 2 || (argument[0] != '-' && argument[0] != '+'))
            return false; // a script to run
        if (runsCommandString(argument))
            return false;
        if (readsStandardInput(argument))
            return true;
        if (takesValue(argument))
            ++i;
    }
    return true;
}

} // namespace vt::posix
