#pragma once

#include <X11/Xlib.h>

#include <string>

namespace vt::x11 {

// What must hold, with the server grabbed, before a step's first key: the
// focus is on the console or a window of the console's own client, no other
// client holds the keyboard. Throws FocusLost or KeySenderFailed, naming the
// console by its title, with nothing typed.
void requireKeysGoToConsole(Display* display, Window console, const std::string& title);

// A modifier held on the keyboard would combine with every key typed (a held
// Ctrl turns "stop" into ^S^T^O^P): the held modifier keys are let go.
void releaseHeldModifiers(Display* display);

// Caps Lock would turn "Hello" into "hELLO": unlocked for the step, locked
// again after.
class CapsLockReleased {
public:
    explicit CapsLockReleased(Display* display);
    ~CapsLockReleased();
    CapsLockReleased(const CapsLockReleased&) = delete;
    CapsLockReleased& operator=(const CapsLockReleased&) = delete;

private:
    Display* display_;
    bool locked_ = false;
};

} // namespace vt::x11
