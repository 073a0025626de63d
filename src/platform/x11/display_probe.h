#pragma once

#include <chrono>
#include <string>

namespace vt::x11 {

enum class DisplayAnswer {
    opens,  // the display DISPLAY names accepted a connection, or no child
            // could be started to look: the caller opens it as it always did
    fails,  // DISPLAY is unset, or no server is there, or it refused us
    silent, // no answer in the time given: a frozen or stopped server
};

// Whether the display opens, decided within the time given. XOpenDisplay has
// no timeout of its own: a server that accepts the connection and never
// answers (frozen, or stopped with SIGSTOP) would hold the program for ever.
// So it is first opened by a short-lived child process, which is killed when
// the time runs out; the caller opens it for real only once it has answered.
DisplayAnswer probeDisplay(std::chrono::milliseconds timeout);

// The display's name as Xlib reads it from DISPLAY.
std::string displayName();

} // namespace vt::x11
