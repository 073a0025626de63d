#pragma once

#include <optional>
#include <string>

namespace vt::multiplexer {

// A console name as screen reads it: "SESSION", or "SESSION:WINDOW" (a window
// number, or a window title when not all digits).
struct ScreenName {
    std::string session;
    std::optional<std::string> window;
};

// Splits name at its first ':', unless a session in the output of
// "screen -ls" bears the whole name. Throws ConsoleNotFound for an empty
// window part.
ScreenName parseScreenName(const std::string& listing, const std::string& name);

// The session ("PID.NAME") whose name is exactly name, from the output of
// "screen -ls". Throws ConsoleNotFound (none, or only dead ones) or
// ConsoleAmbiguous (two live sessions of that name): "screen -S NAME" alone
// would pick by prefix or refuse.
std::string chooseScreenSession(const std::string& listing, const std::string& name);

// The format "screen -Q windows" is asked for; chooseScreenWindow reads it.
inline constexpr const char* kScreenWindowFormat = "%n\t%t\n";

// The number of the window to type into, from the session's window list: its
// only window, or the one numbered or titled as asked. Without "-p" screen
// types into the session's current window, which is whichever the operator
// last opened or chose. Throws ConsoleNotFound (no such window) or
// ConsoleAmbiguous (several windows and none named, or two of that title).
std::string chooseScreenWindow(const std::string& windows, const ScreenName& name);

} // namespace vt::multiplexer
