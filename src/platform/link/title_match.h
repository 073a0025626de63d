#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vt {

// A window a link could type into, as its title shows it.
struct ConsoleTitle {
    std::string text;
    // A Windows console window shows "TITLE - command" while a program runs
    // in it; no other window may be found by such a title.
    bool showsCommand = false;
};

// Picks the console among the candidates: the one whose title equals the
// name; if none does, the one console window whose title is the name followed
// by " - " and a command. Returns its index; throws ConsoleNotFound, or
// ConsoleAmbiguous when several could be meant, with a message that says why.
std::size_t matchConsoleTitle(const std::vector<ConsoleTitle>& candidates, const std::string& name);

// The same over a link's own window records: titleOf(window) gives its
// ConsoleTitle. Returns the chosen window.
template <typename Window, typename TitleOf>
const Window& chooseConsole(const std::vector<Window>& windows, const std::string& name, TitleOf titleOf)
{
    std::vector<ConsoleTitle> titles;
    titles.reserve(windows.size());
    for (const Window& window : windows)
        titles.push_back(titleOf(window));
    return windows[matchConsoleTitle(titles, name)];
}

} // namespace vt
