// Types lines into a console through the program's own console links, in
// the program's order (console titles, then windows; "window:TITLE" or
// "console:TITLE" picks one), the way a console step does ("say ", the text,
// Enter), and reports how long each line took and how long the lookups
// took: type_probe TITLE LINES_FILE [REPEAT]. Exit code 0 when every line was
// delivered without a failure.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/link/console_links.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_title_link.h"
#include "platform/win32/link/win32_console_link.h"
#include "platform/win32/wide_text.h"

int wmain(int argc, wchar_t** argv)
{
    // The console links start this program again to attach to consoles.
    if (argc == 2 && std::wstring(argv[1]) == vt::win32::kConsoleHelperArgument)
        return vt::win32::runConsoleHelper();
    if (argc < 3) {
        std::fputs("usage: type_probe TITLE LINES_FILE [REPEAT]\n", stderr);
        return 2;
    }
    const std::string title = vt::win32::toUtf8(argv[1]);
    std::ifstream file(argv[2], std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    const int repeat = argc > 3 ? _wtoi(argv[3]) : 1;

    vt::win32::Win32ConsoleTitleLink consoles;
    vt::win32::Win32ConsoleLink windows;
    vt::ConsoleLinks link({{"console", consoles}, {"window", windows}});
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int typed = 0;
    double lookupMs = 0;
    try {
        for (int round = 0; round < repeat; ++round) {
            for (const std::string& line : lines) {
                const auto lookupStart = Clock::now();
                auto sender = link.activate(title);
                lookupMs += std::chrono::duration<double, std::milli>(Clock::now() - lookupStart).count();
                sender->sendKeys("say ", true);
                sender->sendKeys(line, true);
                sender->sendKeys("{Enter}", false);
                sender->deliver();
                ++typed;
            }
        }
    } catch (const vt::DeliveryUnknown& failure) {
        std::printf("fate unknown after %d lines: %s\n", typed, failure.what());
        return 1;
    } catch (const vt::Failure& failure) {
        std::printf("failure after %d lines: %s\n", typed, failure.what());
        return 1;
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("typed %d lines in %.1f ms, %.2f ms per line, of which %.2f ms finding the console\n", typed, ms,
                typed ? ms / typed : 0.0, typed ? lookupMs / typed : 0.0);
    return 0;
}
