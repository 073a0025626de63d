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
    return 0;
}

} // namespace vt
