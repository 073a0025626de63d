#include "platform/fltk/fltk_x11_hints.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <unistd.h>

#include <cstring>

namespace vt::fltk {

namespace {

// _MOTIF_WM_HINTS, which window managers read for the buttons and functions
// of a window's frame.
struct MotifHints {
    unsigned long flags;
    unsigned long functions;
    unsigned long decorations;
    long inputMode;
    unsigned long status;
};

constexpr unsigned long kHintFunctions = 1;
constexpr unsigned long kHintDecorations = 2;
constexpr unsigned long kFunctionMove = 4;
constexpr unsigned long kFunctionMinimize = 8;
constexpr unsigned long kFunctionClose = 32;
constexpr unsigned long kDecorBorder = 2;
constexpr unsigned long kDecorTitle = 8;
constexpr unsigned long kDecorMenu = 16;
constexpr unsigned long kDecorMinimize = 32;

Atom atom(const char* name)
{
    return XInternAtom(fl_display, name, False);
}

void setMotifHints(Window xid, bool minimizable)
{
    MotifHints hints{};
    hints.flags = kHintFunctions | kHintDecorations;
    hints.functions = kFunctionMove | kFunctionClose | (minimizable ? kFunctionMinimize : 0);
    hints.decorations = kDecorBorder | kDecorTitle | kDecorMenu | (minimizable ? kDecorMinimize : 0);
    const Atom motif = atom("_MOTIF_WM_HINTS");
    XChangeProperty(fl_display, xid, motif, motif, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&hints), 5);
}

void setDialogOf(Window xid, Window owner)
{
    XSetTransientForHint(fl_display, xid, owner);
    Atom dialog = atom("_NET_WM_WINDOW_TYPE_DIALOG");
    XChangeProperty(fl_display, xid, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&dialog), 1);
}

// The process id and machine name, by which the console link knows this
// program's own windows and never types into them.
void setOwner(Window xid)
{
    const long pid = static_cast<long>(getpid());
    XChangeProperty(fl_display, xid, atom("_NET_WM_PID"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    XChangeProperty(fl_display, xid, atom("WM_CLIENT_MACHINE"), XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(host), static_cast<int>(std::strlen(host)));
}

} // namespace

bool openFltkDisplay()
{
    if (fl_display)
        return true;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    fl_open_display(display);
    return true;
}

void setWindowRole(Fl_Window& window, Fl_Window* owner, bool minimizable)
{
    if (!window.shown())
        return;
    const Window xid = fl_xid(&window);
    setOwner(xid);
    setMotifHints(xid, minimizable);
    if (owner && owner->shown())
        setDialogOf(xid, fl_xid(owner));
    XFlush(fl_display);
}

} // namespace vt::fltk
