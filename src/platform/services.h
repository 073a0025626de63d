#pragma once

#include <functional>
#include <string>

namespace vt {

class ConsoleLink;
class EventLoop;
class SettingsStore;
class ViewFactory;

// What the program's forms use of the platform, chosen once at start-up.
struct Services {
    EventLoop& loop;
    SettingsStore& store;
    ConsoleLink& console;
    ViewFactory& views;
    // The executable's file name without its extension, fetched at every call.
    std::function<std::string()> exeName;
};

} // namespace vt
