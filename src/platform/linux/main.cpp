// The Linux desktop program: chooses the backends and runs the main window.
#include <clocale>
#include <cstdio>
#include <exception>

#include "app/icon.h"
#include "app/program.h"
#include "platform/store/exe_name.h"
#include "platform/failures.h"
#include "platform/link/console_links.h"
#include "platform/fltk/fltk_event_loop.h"
#include "platform/fltk/fltk_view_factory.h"
#include "platform/fltk/fltk_x11_hints.h"
#include "platform/posix/ini_file_store.h"
#include "platform/posix/invoked_program.h"
#include "platform/x11/x11_console_link.h"

namespace {

int runDesktop()
{
    vt::fltk::FltkEventLoop loop;
    vt::fltk::FltkViewFactory views(loop, vt::iconPixels);
    vt::IniFileStore store(vt::defaultConfigHome());
    vt::x11::X11ConsoleLink x11(
        [&loop](int delayMs, std::function<void()> work) { loop.later(delayMs, std::move(work)); });
    vt::ConsoleLinks console({{"x11", x11}});
    vt::Services services{loop, store, console, views,
                          [] { return vt::fileNameFromPath(vt::invokedProgramPath()); }};
    return vt::runProgram(services);
}

} // namespace

// The command line is not read: the stored settings are the only options.
int main()
{
    // Character classes only: numbers keep the "C" form they are stored in.
    std::setlocale(LC_CTYPE, "");
    if (!vt::fltk::openFltkDisplay()) {
        std::fputs("vt-haltward: cannot open the X display; set DISPLAY\n", stderr);
        return 1;
    }
    try {
        return runDesktop();
    } catch (const vt::Failure& failure) {
        std::fprintf(stderr, "vt-haltward: %s\n", failure.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vt-haltward: %s\n", vt::describeUnexpected(error).c_str());
        return 1;
    }
}
