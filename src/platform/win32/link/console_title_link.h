#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/link/console_link.h"

namespace vt::win32 {

// Finds the server console by its console title among all processes this
// user may attach to, window or no window (a console in Windows Terminal has
// no console window of its own), and types into its input buffer: no window
// is activated, the operator's focus stays where it is. A console where only
// a command shell waits at its prompt is refused before anything is typed.
class Win32ConsoleTitleLink : public ConsoleLink {
public:
    std::unique_ptr<KeySender> activate(const std::string& title) override;
};

// Types a step into one console, found by title, in one write to its input.
class ConsoleProcessSender : public KeySender {
public:
    ConsoleProcessSender(std::vector<std::uint32_t> processes, std::uintptr_t console, std::string title)
        : processes_(std::move(processes)), console_(console), title_(std::move(title))
    {
    }

    // The helper reads the console back and lists the programs attached:
    // say lines are confirmed, the server's end is seen. A restarted server
    // comes up in a new console, out of sight.
    ConsoleSight sight() const override { return {true, true, {}, false}; }
    std::unique_ptr<StepWatch> watch(const StepExpectation& expected, SightingSink sink) override;

protected:
    void typeStep(const std::vector<KeyChunk>& step) override;

private:
    std::vector<std::uint32_t> processes_; // any of them leads to the console
    std::uintptr_t console_;               // its window, 0 if it has none
    std::string title_;
};

} // namespace vt::win32
