// The program's side of the console helper: one helper per request, its
// answer read for exactly what it said before it ended.
#include <stdexcept>

#include "platform/failures.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/helper_process.h"

namespace vt::win32 {

namespace {

// A lookup looks into every process; a write waits at most a second for
// the keys to be read. Either takes far less than this, but a console host
// that hangs can keep AttachConsole from returning: the helper is ended
// then, and the program goes on. Starting a helper can itself take over 10 s
// on a busy machine (11 s measured under Wine at a load average of 20); a
// limit below that failed the step, and its retry came a whole timer
// interval later.
constexpr unsigned kHelperLimitMs = 30000;

HelperReply ask(const HelperRequest& request, HelperRun& run)
{
    run = runConsoleHelperProcess(encodeRequest(request), kHelperLimitMs);
    try {
        return decodeReply(run.output);
    } catch (const std::invalid_argument& error) {
        throw KeySenderFailed(std::string("the console helper's answer makes no sense (") + error.what() +
                              "); whether anything was typed is not known");
    }
}

} // namespace

std::vector<ConsoleProbe> probeConsolesInHelper(const std::string& title)
{
    HelperRun run;
    const HelperReply reply = ask(ProbeRequest{}, run);
    if (reply.probes)
        return *reply.probes;
    if (reply.outcome)
        throw KeySenderFailed(reply.outcome->message);
    throw KeySenderFailed("could not look for the console '" + title + "': the console helper gave no answer (" +
                          howHelperEnded(run) + "); nothing was typed");
}

WriteOutcome writeToConsoleInHelper(const WriteRequest& request)
{
    HelperRun run;
    const HelperReply reply = ask(request, run);
    if (reply.outcome)
        return *reply.outcome;
    const std::string how = " (the console helper: " + howHelperEnded(run) + ")";
    // Ending while attached is what closing the console does to it. The keys
    // were in (or going into) the console's input: they may still be read.
    if (reply.written)
        throw DeliveryUnknown("the console '" + request.title + "' went away before its program read the keys" + how +
                              "; the line may not have reached the server");
    if (reply.writing)
        throw DeliveryUnknown("typing into the console '" + request.title + "' was cut short" + how +
                              "; the line may be incomplete");
    throw KeySenderFailed("could not type into the console '" + request.title + "'" + how + "; nothing was typed");
}

} // namespace vt::win32
