#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vt::win32 {

// What looking into one process's console gave.
struct ConsoleProbe {
    enum class Outcome {
        Attached,  // its console's title and identity were read
        Denied,    // the system refused (a program running elevated, for one)
        NoConsole, // it has no console, or it ended meanwhile
    };
    std::uint32_t process = 0;
    Outcome outcome = Outcome::NoConsole;
    std::string title;
    // Which console it is: the same for every process attached to one
    // console (its window handle); 0 when the console has none, and then the
    // process stands for a console of its own.
    std::uintptr_t console = 0;
    // Its executable's file name ("cmd.exe"), whatever the outcome.
    std::string image;
};

// The console found: the processes attached to it, in the order probed,
// any of which leads to its input.
struct ConsoleChoice {
    std::vector<std::uint32_t> processes;
    std::uintptr_t console = 0;
};

// Picks the one console the name means among the probed processes: its
// exact title, else "NAME - command" (the title cmd shows while a program
// runs in it). Processes that share a console count as one console. Throws
// ConsoleAmbiguous when two consoles could be meant, ConsoleNotFound when
// none is; that message counts the processes that could not be looked into,
// since the console may be one of them.
ConsoleChoice chooseConsoleByTitle(const std::vector<ConsoleProbe>& probes, const std::string& name);

} // namespace vt::win32
