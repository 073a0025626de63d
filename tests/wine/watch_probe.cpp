// One console step through the program's own console links, watched as the
// program watches it, for the Wine scenarios and the read-back benchmark:
//   watch_probe TITLE say TEXT [SECONDS]   types "say TEXT", waits for the answer
//   watch_probe TITLE stop [SECONDS]       types "stop", waits for the server's end
//   watch_probe TITLE restart [SECONDS]    types "restart", waits for both
// TEXT is in keystroke notation. Prints what the console lets it see, when
// the keys went and each sighting as it comes ("Answered at 1234.567 ms,
// 21.4 ms after the keys"; QueryPerformanceCounter time), or the failure
// ("refused (no server): ...", "refused (paused): ...", "failed: ..."), and
// how long the step took from the lookup to the keys delivered.
// Exit code 0 when every sighting the step should bring came in time.
#include <windows.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/link/console_links.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_title_link.h"
#include "platform/win32/link/win32_console_link.h"
#include "platform/win32/wide_text.h"

namespace {

double nowMs()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Seen {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<vt::ConsoleSighting> sightings;
    double keysMs = 0;

    void add(vt::ConsoleSighting sighting)
    {
        const double at = nowMs();
        const std::lock_guard<std::mutex> lock(mutex);
        std::printf("%s at %.3f ms, %.1f ms after the keys\n", vt::sightingName(sighting), at, at - keysMs);
        std::fflush(stdout);
        sightings.push_back(sighting);
        changed.notify_all();
    }
    bool has(vt::ConsoleSighting sighting)
    {
        for (const vt::ConsoleSighting seen : sightings)
            if (seen == sighting)
                return true;
        return false;
    }
};

int watchOneStep(vt::ConsoleLink& link, const std::string& title, const vt::StepExpectation& expected,
                 const std::string& keys, int seconds)
{
    std::vector<vt::ConsoleSighting> awaited;
    if (expected.kind == vt::StepExpectation::Kind::Say)
        awaited = {vt::ConsoleSighting::Answered};
    else if (expected.kind == vt::StepExpectation::Kind::Stop)
        awaited = {vt::ConsoleSighting::ServerEnded};
    else
        awaited = {vt::ConsoleSighting::NoRestartScript, vt::ConsoleSighting::ServerEnded};
    Seen seen;
    const double stepStart = nowMs();
    const auto sender = link.activate(title);
    const vt::ConsoleSight sight = sender->sight();
    std::printf("sight: readable %d, server watched %d\n", sight.readable, sight.serverWatched);
    const double watchStart = nowMs();
    std::unique_ptr<vt::StepWatch> watch = sender->watch(expected, [&seen](vt::ConsoleSighting s) { seen.add(s); });
    const double watchMs = nowMs() - watchStart;
    sender->sendKeys(keys, true);
    sender->sendKeys("{ENTER}", false);
    {
        const std::lock_guard<std::mutex> lock(seen.mutex);
        seen.keysMs = nowMs();
    }
    sender->deliver();
    const double now = nowMs();
    std::printf("keys delivered at %.3f ms, %.1f ms after they went\n", now, now - seen.keysMs);
    std::printf("the step took %.1f ms, of which %.1f ms starting the watch\n", now - stepStart, watchMs);
    std::fflush(stdout);
    std::unique_lock<std::mutex> lock(seen.mutex);
    const bool all = seen.changed.wait_for(lock, std::chrono::seconds(seconds), [&] {
        for (const vt::ConsoleSighting sighting : awaited)
            if (!seen.has(sighting))
                return false;
        return true;
    });
    lock.unlock();
    watch.reset(); // no sighting after this
    std::printf(all ? "all seen\n" : "not all seen within %d s\n", seconds);
    return all ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // The console links start this program again to attach to consoles.
    if (argc == 2 && std::wstring(argv[1]) == vt::win32::kConsoleHelperArgument)
        return vt::win32::runConsoleHelper();
    const std::wstring kind = argc > 2 ? argv[2] : L"";
    const bool say = kind == L"say" && argc >= 4;
    if (!say && kind != L"stop" && kind != L"restart") {
        std::fputs("usage: watch_probe TITLE say TEXT [SECONDS] | stop [SECONDS] | restart [SECONDS]\n", stderr);
        return 2;
    }
    const int secondsAt = say ? 4 : 3;
    const int seconds = argc > secondsAt ? _wtoi(argv[secondsAt]) : 10;
    vt::StepExpectation expected;
    std::string keys = vt::win32::toUtf8(kind);
    if (say) {
        expected = {vt::StepExpectation::Kind::Say, vt::win32::toUtf8(argv[3])};
        keys = "say " + expected.answer;
    } else {
        expected.kind = kind == L"stop" ? vt::StepExpectation::Kind::Stop : vt::StepExpectation::Kind::Restart;
    }
    vt::win32::Win32ConsoleTitleLink consoles;
    vt::win32::Win32ConsoleLink windows;
    vt::ConsoleLinks link({{"console", consoles}, {"window", windows}});
    try {
        return watchOneStep(link, vt::win32::toUtf8(argv[1]), expected, keys, seconds);
    } catch (const vt::NoServerRunning& refusal) {
        std::printf("refused (no server): %s\n", refusal.what());
    } catch (const vt::ConsolePaused& refusal) {
        std::printf("refused (paused): %s\n", refusal.what());
    } catch (const vt::Failure& failure) {
        std::printf("failed: %s\n", failure.what());
    }
    return 1;
}
