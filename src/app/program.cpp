#include "app/program.h"

#include "app/vt_haltward_main.h"
#include "platform/failures.h"
#include "platform/ui/event_loop.h"

namespace vt {

std::int64_t stopWaitMsFrom(const char* seconds)
{
    if (seconds == nullptr || *seconds == '\0')
        return kDefaultStopWaitMs;
    const std::string text(seconds);
    // A day is more than any server takes, and keeps the bound in a timer's range.
    constexpr std::int64_t kMostSeconds = 24 * 3600;
    std::int64_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9' || value > kMostSeconds)
            value = -1;
        if (value < 0)
            break;
        value = value * 10 + (digit - '0');
    }
    if (value < 1 || value > kMostSeconds)
        throw Failure("VT_HALTWARD_STOP_WAIT is '" + text + "': it must be a whole number of seconds from 1 to " +
                      std::to_string(kMostSeconds));
    return value * 1000;
}

int runProgram(Services& services)
{
    VT_HALTWARD_MAIN main(services);
    main.load();
    main.show();
    services.loop.run(main);
    main.awaitCommandOutcome();
    return main.exitStatus();
}

int runUnattended(Services& services, const std::function<void()>& explainNothingArmed)
{
    VT_HALTWARD_MAIN main(services);
    main.load();
    // Nobody could mend the stored text here: a scheduler learns of it at once.
    if (main.armingRefused())
        return kRunFailed;
    if (!main.runActive()) {
        explainNothingArmed();
        return kNothingArmed;
    }
    main.show();
    services.loop.run(main);
    main.awaitCommandOutcome();
    // Without AutoClose the run still ended the program; a scheduler must
    // still learn that it failed.
    if (main.runAborted())
        return kRunAborted;
    return main.runFailed() ? kRunFailed : main.exitStatus();
}

} // namespace vt
