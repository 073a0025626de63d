#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vt {

class ConsoleLink;
class EventLoop;
class SettingsStore;
class ViewFactory;

inline constexpr std::int64_t kDefaultStopWaitMs = 5 * 60 * 1000;

// What the program's forms use of the platform, chosen once at start-up.
struct Services {
    EventLoop& loop;
    SettingsStore& store;
    ConsoleLink& console;
    ViewFactory& views;
    // The executable's file name without its extension, fetched at every call.
    std::function<std::string()> exeName;
    // How long a server may take to stop or restart after its command before
    // the command counts as not obeyed (VT_HALTWARD_STOP_WAIT, read by the
    // entry files).
    std::int64_t stopWaitMs = kDefaultStopWaitMs;
};

} // namespace vt
