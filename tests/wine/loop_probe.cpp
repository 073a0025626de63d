// Tasks posted to the Win32 event loop from other threads, while the loop's
// thread sits in a modal loop the program does not own (a message box): four
// threads post 250 tasks each; each task must run on the loop's thread, in
// the order its thread posted it, and the last one closes the box.
// Prints what ran; exit code 0 when all ran as they should. A loop that is
// not woken leaves the box open, and the scenario's time limit fails it.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/win32/ui/win32_event_loop.h"

namespace {

constexpr int kThreads = 4;
constexpr int kTasksEach = 250;
const wchar_t* const kCaption = L"loop probe";

} // namespace

int wmain()
{
    vt::win32::Win32EventLoop loop;
    const DWORD loopThread = GetCurrentThreadId();
    int ran = 0; // only the loop's thread touches it
    bool elsewhere = false;
    bool outOfOrder = false;
    std::vector<int> lastOf(kThreads, -1);
    std::vector<std::thread> posters;
    for (int poster = 0; poster < kThreads; ++poster) {
        posters.emplace_back([&, poster] {
            Sleep(200); // the box is up by then
            for (int task = 0; task < kTasksEach; ++task) {
                loop.post("probe", [&, poster, task] {
                    elsewhere = elsewhere || GetCurrentThreadId() != loopThread;
                    outOfOrder = outOfOrder || lastOf[poster] != task - 1;
                    lastOf[poster] = task;
                    if (++ran == kThreads * kTasksEach)
                        PostMessageW(FindWindowW(nullptr, kCaption), WM_CLOSE, 0, 0);
                });
            }
        });
    }
    MessageBoxW(nullptr, L"Waiting for the posted tasks", kCaption, MB_OK);
    for (std::thread& poster : posters)
        poster.join();
    std::printf("ran %d of %d tasks%s%s\n", ran, kThreads * kTasksEach, elsewhere ? ", some on another thread" : "",
                outOfOrder ? ", some out of order" : "");
    return ran == kThreads * kTasksEach && !elsewhere && !outOfOrder ? 0 : 1;
}
