// x11-grab-keyboard READY_FILE: holds the keyboard as a screen locker or an
// open menu does, touches READY_FILE once it has it, and keeps it until
// killed.
#include <X11/Xlib.h>

#include <cstdio>
#include <fstream>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: x11-grab-keyboard READY_FILE\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("x11-grab-keyboard: cannot open the display\n", stderr);
        return 1;
    }
    const int status =
        XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XSync(display, False);
    if (status != GrabSuccess) {
        std::fprintf(stderr, "x11-grab-keyboard: the grab failed (%d)\n", status);
        return 1;
    }
    std::ofstream(argv[1]) << "grabbed\n";
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}
