#include "platform/multiplexer/screen_sessions.h"

#include <sstream>
#include <vector>

#include "platform/failures.h"

namespace vt::multiplexer {

namespace {

struct SessionLine {
    std::string id; // PID.NAME
    std::string name;
    bool dead = false;
};

// "\t12345.NAME\t(12/07/26 01:13:02)\t(Detached)"
std::vector<SessionLine> parseSessions(const std::string& listing)
{
    std::vector<SessionLine> sessions;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] != '\t')
            continue;
        const std::size_t end = line.find('\t', 1);
        const std::string id = line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
        const std::size_t dot = id.find('.');
        if (dot == 0 || dot == std::string::npos || id.find_first_not_of("0123456789") != dot)
            continue;
        sessions.push_back({id, id.substr(dot + 1), line.find("(Dead") != std::string::npos});
    }
    return sessions;
}

} // namespace

std::string chooseScreenSession(const std::string& listing, const std::string& name)
{
    std::vector<std::string> live;
    bool deadOne = false;
    for (const SessionLine& session : parseSessions(listing)) {
        if (session.name != name)
            continue;
        if (session.dead)
            deadOne = true;
        else
            live.push_back(session.id);
    }
    if (live.size() > 1)
        throw ConsoleAmbiguous("there are " + std::to_string(live.size()) + " screen sessions named '" + name + "' (" +
                               live[0] + ", " + live[1] + "); quit the extra one or rename it");
    if (live.empty() && deadOne)
        throw ConsoleNotFound("the screen session '" + name + "' is dead (screen -wipe clears it); restart the server");
    if (live.empty())
        throw ConsoleNotFound("no screen session named '" + name + "' was found");
    return live[0];
}

} // namespace vt::multiplexer
