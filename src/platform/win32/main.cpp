// The Windows program: the one place that chooses the Windows backends.
#include <windows.h>

#include <commctrl.h>

#include "app/program.h"
#include "platform/link/console_links.h"
#include "platform/services.h"
#include "platform/win32/module_name.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/win32_console_link.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_view_factory.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    vt::Win32EventLoop loop;
    vt::RegistryStore store;
    vt::Win32ConsoleLink windows;
    vt::ConsoleLinks console({{"window", windows}});
    vt::Win32ViewFactory views;
    vt::Services services{loop, store, console, views, vt::runningExeName};
    return vt::runProgram(services);
}
