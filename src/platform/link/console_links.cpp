#include "platform/link/console_links.h"

#include "platform/failures.h"

namespace vt {

namespace {

// Every prefix the program knows, whether or not this platform has the link:
// "tmux:x" on a machine without tmux is an error, not a window title.
constexpr const char* kKnownPrefixes[] = {"tmux", "screen", "x11", "console", "window"};

struct Restriction {
    std::string prefix; // empty: every link
    std::string name;
};

Restriction splitPrefix(const std::string& text)
{
    for (const char* prefix : kKnownPrefixes) {
        const std::string lead = std::string(prefix) + ":";
        if (text.compare(0, lead.size(), lead) == 0)
            return {prefix, text.substr(lead.size())};
    }
    return {"", text};
}

} // namespace

ConsoleLinks::ConsoleLinks(std::vector<NamedLink> links) : links_(std::move(links)) {}

std::unique_ptr<KeySender> ConsoleLinks::activate(const std::string& text)
{
    const Restriction wanted = splitPrefix(text);
    std::vector<const NamedLink*> chosen;
    for (const NamedLink& link : links_) {
        if (wanted.prefix.empty() || link.prefix == wanted.prefix)
            chosen.push_back(&link);
    }
    if (chosen.empty())
        throw ConsoleNotFound("this program reaches no " + wanted.prefix + " consoles here; remove the prefix '" +
                              wanted.prefix + ":' from the console title");
    if (wanted.name.empty())
        throw ConsoleNotFound("the server console title is empty; enter it in Settings & Messages");
    return activateIn(chosen, wanted.name);
}

std::unique_ptr<KeySender> ConsoleLinks::activateIn(const std::vector<const NamedLink*>& links, const std::string& name)
{
    std::string notFound;
    for (const NamedLink* link : links) {
        try {
            return link->link.activate(name);
        } catch (const ConsoleAmbiguous&) {
            throw;
        } catch (const NoServerRunning&) {
            // The console is found: no later link may type into it (a
            // terminal window showing the same shell), nor into another
            // console of its name.
            throw;
        } catch (const ConsolePaused&) {
            throw;
        } catch (const ConsoleNotFound& missing) {
            // A later link may still have it; if none does, every link's
            // reason is worth reading.
            notFound += (notFound.empty() ? "" : "; ") + std::string(missing.what());
            if (!link->notFoundAdvice.empty())
                notFound += " (" + link->notFoundAdvice + ")";
        }
    }
    throw ConsoleNotFound(notFound);
}

} // namespace vt
