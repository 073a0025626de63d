// The Linux program: chooses the backends and runs the main window, on the
// desktop when an X display opens, without windows otherwise.
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <string>

#include "app/icon.h"
#include "app/program.h"
#include "platform/failures.h"
#include "platform/fltk/fltk_event_loop.h"
#include "platform/fltk/fltk_view_factory.h"
#include "platform/fltk/fltk_x11_hints.h"
#include "platform/link/console_links.h"
#include "platform/multiplexer/multiplexer_links.h"
#include "platform/posix/ini_file_store.h"
#include "platform/posix/invoked_program.h"
#include "platform/posix/posix_event_loop.h"
#include "platform/posix/process_start.h"
#include "platform/posix/status_lines.h"
#include "platform/store/exe_name.h"
#include "platform/x11/display_probe.h"
#include "platform/x11/x11_console_link.h"

namespace {

std::string exeName()
{
    return vt::fileNameFromPath(vt::posix::invokedProgramPath());
}

// A native Wayland terminal has no X11 window: its title is never found, and
// nothing could type into it if it were. Said with every such report.
std::string waylandAdvice()
{
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland == nullptr || *wayland == '\0')
        return {};
    return "WAYLAND_DISPLAY is set: a native Wayland terminal has no X11 window and cannot be typed into, "
           "so run the server in tmux or screen";
}

std::int64_t stopWaitMs()
{
    return vt::stopWaitMsFrom(std::getenv("VT_HALTWARD_STOP_WAIT"));
}

int runDesktop()
{
    vt::fltk::FltkEventLoop loop;
    vt::fltk::FltkViewFactory views(loop, vt::iconPixels);
    vt::posix::IniFileStore store(vt::posix::defaultConfigHome());
    vt::multiplexer::TmuxConsoleLink tmux;
    vt::multiplexer::ScreenConsoleLink screen;
    vt::x11::X11ConsoleLink x11(
        [&loop](int delayMs, std::function<void()> work) { loop.later(delayMs, std::move(work)); });
    // Consoles typed into without the focus come first: the same console,
    // reached more safely than through its terminal window.
    vt::ConsoleLinks console({{"tmux", tmux}, {"screen", screen}, {"x11", x11, waylandAdvice()}});
    vt::Services services{loop, store, console, views, exeName, stopWaitMs()};
    return vt::runProgram(services);
}

// Failures go to standard error; when that is gone too, nobody can be told.
vt::posix::StampedLineWriter errorLines(stderr);
// Status lines go to standard output. Once its reader has gone, they are
// dropped, which is said once on standard error.
vt::posix::StampedLineWriter statusLines(stdout, [] {
    errorLines("vt-haltward: standard output can no longer be written (its reader has ended); status lines are "
               "dropped from now on, the run goes on");
});

void explainNothingArmed(const vt::posix::IniFileStore& store)
{
    errorLines("vt-haltward: no display, and no stored AutoStart run to perform. To arm one, write "
               "AUTOSTART_SHUTDOWN_TICKBOX=1 or AUTOSTART_RESTART_TICKBOX=1 (and AUTOCLOSE_TICKBOX=1 to "
               "end after it) in the [" +
               exeName() + "] section of " + store.location("VT_HALTWARD"));
}

int runWithoutDisplay()
{
    vt::posix::PosixEventLoop loop;
    loop.reports().writeLine = [](const std::string& line) { errorLines(line); };
    // Good news follows the status lines; bad news goes where failures go.
    loop.reports().writeNews = [](const std::string& line, bool good) {
        if (good)
            statusLines(line);
        else
            errorLines(line);
    };
    vt::posix::StatusLinesViewFactory views({"CURRENT_STATUS_LABEL"},
                                            [](const std::string& line) { statusLines(line); });
    vt::posix::IniFileStore store(vt::posix::defaultConfigHome());
    vt::multiplexer::TmuxConsoleLink tmux;
    vt::multiplexer::ScreenConsoleLink screen;
    vt::ConsoleLinks console({{"tmux", tmux}, {"screen", screen}});
    vt::Services services{loop, store, console, views, exeName, stopWaitMs()};
    statusLines("vt-haltward: no X display; running without windows, consoles in tmux and screen");
    return vt::runUnattended(services, [&store] { explainNothingArmed(store); });
}

// Xlib would wait for ever on a display that accepts and never answers.
constexpr std::chrono::seconds kDisplayAnswerTime(10);

// A display that answers in time is opened for the windows; one that does
// not is said so and treated as no display at all.
bool openDisplayInTime()
{
    const auto answer = vt::x11::probeDisplay(kDisplayAnswerTime);
    if (answer == vt::x11::DisplayAnswer::silent)
        errorLines("vt-haltward: the X display '" + vt::x11::displayName() + "' did not answer within " +
                   std::to_string(kDisplayAnswerTime.count()) + " seconds; it is not used");
    return answer == vt::x11::DisplayAnswer::opens && vt::fltk::openFltkDisplay();
}

} // namespace

// The command line is not read: the stored settings are the only options.
int main()
{
    // First of all: a descriptor or signal disposition left wrong by whoever
    // started the program would otherwise catch whatever opens next.
    vt::posix::prepareProcess();
    // Character classes only: numbers keep the "C" form they are stored in.
    std::setlocale(LC_CTYPE, "");
    try {
        return openDisplayInTime() ? runDesktop() : runWithoutDisplay();
    } catch (const vt::Failure& failure) {
        std::fprintf(stderr, "vt-haltward: %s\n", failure.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vt-haltward: %s\n", vt::describeUnexpected(error).c_str());
        return 1;
    }
}
