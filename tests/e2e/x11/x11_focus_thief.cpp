// x11-focus-thief WINDOW PAUSE_MS: gives WINDOW (an id, as xdotool prints it)
// the input focus again and again, PAUSE_MS apart, until killed: another
// program taking the focus while a step is typed. One process doing what a
// shell loop of xdotool calls did, without loading the machine it tests on.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: x11-focus-thief WINDOW PAUSE_MS\n", stderr);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const auto pause = std::chrono::milliseconds(std::atoi(argv[2]));
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("x11-focus-thief: cannot open the display\n", stderr);
        return 1;
    }
    // A window that goes away is not a reason to stop: the next call may find another.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    for (;;) {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
        std::this_thread::sleep_for(pause);
    }
}
