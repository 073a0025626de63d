#include "app/program.h"

#include "app/vt_haltward_main.h"
#include "platform/ui/event_loop.h"

namespace vt {

int runProgram(Services& services)
{
    VT_HALTWARD_MAIN main(services);
    main.load();
    main.show();
    services.loop.run(main);
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
    // Without AutoClose the run still ended the program; a scheduler must
    // still learn that it failed.
    if (main.runAborted())
        return kRunAborted;
    return main.runFailed() ? kRunFailed : main.exitStatus();
}

} // namespace vt
