// The Windows program: the one place that chooses the Windows backends.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/program.h"
#include "platform/failures.h"
#include "platform/link/console_links.h"
#include "platform/services.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_title_link.h"
#include "platform/win32/link/win32_console_link.h"
#include "platform/win32/store/module_name.h"
#include "platform/win32/store/registry_store.h"
#include "platform/win32/ui/win32_event_loop.h"
#include "platform/win32/ui/win32_view_factory.h"

namespace {

int runWindows()
{
    vt::win32::Win32EventLoop loop;
    vt::win32::RegistryStore store;
    // A console reached through its input buffer first: it needs no focus.
    // Only a title that no console has is looked for among the windows.
    vt::win32::Win32ConsoleTitleLink consoles;
    vt::win32::Win32ConsoleLink windows;
    vt::ConsoleLinks console({{"console", consoles}, {"window", windows}});
    vt::win32::Win32ViewFactory views;
    vt::Services services{loop,
                          store,
                          console,
                          views,
                          vt::win32::runningExeName,
                          vt::stopWaitMsFrom(std::getenv("VT_HALTWARD_STOP_WAIT"))};
    return vt::runProgram(services);
}

// A GUI program has no console for its standard error; the failure still
// goes there (a redirected stderr, as the tests use) and the exit status says it.
int reportAndFail(const std::string& message)
{
    std::fprintf(stderr, "vt-haltward: %s\n", message.c_str());
    std::fflush(stderr);
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int)
{
    if (arguments && std::wstring(arguments) == vt::win32::kConsoleHelperArgument)
        return vt::win32::runConsoleHelper();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        return runWindows();
    } catch (const vt::Failure& failure) {
        return reportAndFail(failure.what());
    } catch (const std::exception& error) {
        return reportAndFail(vt::describeUnexpected(error));
    }
}
