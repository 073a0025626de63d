#include "platform/win32/link/console_choice.h"

#include "platform/failures.h"
#include "platform/link/title_match.h"
#include "platform/win32/link/console_programs.h"

namespace vt::win32 {

namespace {

// One entry per console, however many processes share it.
std::vector<ConsoleChoice> consolesOf(const std::vector<ConsoleProbe>& probes, std::vector<ConsoleTitle>& titles)
{
    std::vector<ConsoleChoice> consoles;
    for (const ConsoleProbe& probe : probes) {
        if (probe.outcome != ConsoleProbe::Outcome::Attached)
            continue;
        bool known = false;
        for (ConsoleChoice& console : consoles) {
            if (probe.console != 0 && console.console == probe.console) {
                console.processes.push_back(probe.process);
                known = true;
                break;
            }
        }
        if (!known) {
            consoles.push_back({{probe.process}, probe.console});
            titles.push_back({probe.title, true});
        }
    }
    return consoles;
}

std::size_t deniedCount(const std::vector<ConsoleProbe>& probes)
{
    std::size_t denied = 0;
    for (const ConsoleProbe& probe : probes)
        denied += probe.outcome == ConsoleProbe::Outcome::Denied ? 1 : 0;
    return denied;
}

// We cannot read the title of a console we may not attach to, so all we can
// say is that it might be among those.
std::string notFoundMessage(const std::string& name, std::size_t denied)
{
    std::string message = "no console titled '" + name + "' was found";
    if (denied == 1)
        message += "; 1 program could not be looked into";
    else if (denied > 1)
        message += "; " + std::to_string(denied) + " programs could not be looked into";
    if (denied > 0)
        message += " (if the server runs elevated, run this program elevated too)";
    return message;
}

std::string ambiguousMessage(const std::vector<ConsoleTitle>& titles, const std::string& name)
{
    std::size_t exact = 0;
    for (const ConsoleTitle& title : titles)
        exact += title.text == name ? 1 : 0;
    const std::string which = exact > 1 ? std::to_string(exact) + " consoles are titled '" + name + "'"
                                        : "several consoles have titles beginning with '" + name + " - '";
    return which + "; a keystroke never goes to a guessed console";
}

// A console whose title shows a selection is the one meant, held still: it
// must not be reported as missing, and no key may go to it.
void refuseIfUnderSelection(const std::vector<ConsoleTitle>& titles, const std::string& name)
{
    std::vector<ConsoleTitle> selected;
    for (const ConsoleTitle& title : titles)
        selected.push_back({titleUnderSelection(title.text), title.showsCommand});
    try {
        const ConsoleTitle& shown = titles[matchConsoleTitle(selected, name)];
        throw ConsolePaused("the console '" + name + "' is paused by a selection in its window (its title shows '" +
                            shown.text + "'): the server stands still until the selection ends; nothing was typed");
    } catch (const ConsolePaused&) {
        throw;
    } catch (const ConsoleNotFound&) {
        // Not under a selection either: missing.
    }
}

} // namespace

ConsoleChoice chooseConsoleByTitle(const std::vector<ConsoleProbe>& probes, const std::string& name)
{
    std::vector<ConsoleTitle> titles;
    const std::vector<ConsoleChoice> consoles = consolesOf(probes, titles);
    try {
        return consoles[matchConsoleTitle(titles, name)];
    } catch (const ConsoleAmbiguous&) {
        throw ConsoleAmbiguous(ambiguousMessage(titles, name));
    } catch (const ConsoleNotFound&) {
        if (name.empty())
            throw;
        refuseIfUnderSelection(titles, name);
        throw ConsoleNotFound(notFoundMessage(name, deniedCount(probes)));
    }
}

} // namespace vt::win32
