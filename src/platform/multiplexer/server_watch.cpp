#include "platform/multiplexer/server_watch.h"

#include <algorithm>

#include "platform/failures.h"
#include "platform/multiplexer/watch_support.h"

namespace vt::multiplexer {

namespace {

// The contract's window for a restarted server to show up, and the pace of
// the looks: /proc is read once a second, and only during that minute.
constexpr auto kLookFor = std::chrono::seconds(60);
constexpr auto kLookEvery = std::chrono::seconds(1);

} // namespace

posix::ConsoleProcesses consoleServer(pid_t member, const std::string& title)
{
    const auto processes = member > 0 ? posix::consoleProcesses(member) : std::nullopt;
    if (!processes)
        throw ConsoleNotFound("the console '" + title + "' has closed; nothing was typed");
    if (processes->atShellPrompt)
        throw NoServerRunning("the console '" + title +
                              "' shows a shell prompt: the server is not running there; nothing was typed");
    return *processes;
}

ServerWatch::ServerWatch(pid_t member, Wakeup& wakeup) : member_(member)
{
    const auto processes = member > 0 ? posix::consoleProcesses(member) : std::nullopt;
    if (!processes || processes->server.empty())
        return;
    server_ = processes->server;
    end_ = std::make_unique<posix::ProcessEndWatch>(server_, [&wakeup] { wakeup.notify(Wakeup::ServerEnded); });
}

ServerWatch::~ServerWatch() = default;

void ServerWatch::lookForNewServer()
{
    const Clock::time_point now = Clock::now();
    lookUntil_ = now + kLookFor;
    nextLook_ = now + kLookEvery;
}

std::optional<ServerWatch::Clock::time_point> ServerWatch::nextLook() const
{
    return nextLook_;
}

std::optional<ConsoleSighting> ServerWatch::lookIfDue()
{
    const Clock::time_point now = Clock::now();
    if (!nextLook_ || now < *nextLook_)
        return std::nullopt;
    nextLook_ = now + kLookEvery;
    if (now >= lookUntil_)
        nextLook_.reset();
    // A closed console ends the looking too: nothing can come back in it.
    const auto seen = posix::newServerSighting(member_, server_);
    if (seen)
        nextLook_.reset();
    return seen;
}

int pollTimeout(std::optional<ServerWatch::Clock::time_point> due)
{
    if (!due)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - ServerWatch::Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(std::min<long long>(left, 60000));
}

} // namespace vt::multiplexer
