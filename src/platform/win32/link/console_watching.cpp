// The console helper's side of a watch: attached to the server's console, it
// reads the console's screen buffer back and lists the programs attached.
#include <windows.h>

#include <algorithm>
#include <map>

#include "platform/win32/link/attached_console.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_read_back.h"
#include "platform/win32/link/process_list.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

namespace {

// However busy the console, a watch reads no longer than this.
constexpr ULONGLONG kLongestWatchMs = 60000;

struct Cursor {
    int row = 0;
    int width = 0;
};

bool cursorOf(HANDLE output, Cursor& cursor)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(output, &info) || info.dwSize.X <= 0)
        return false;
    cursor = {info.dwCursorPosition.Y, info.dwSize.X};
    return true;
}

// Rows [first, end) of the screen buffer, each a whole row.
std::vector<std::string> readRows(HANDLE output, int first, int end, int width)
{
    std::vector<std::string> rows;
    if (end <= first)
        return rows;
    const auto cells = static_cast<DWORD>((end - first) * width);
    std::wstring text(cells, L' ');
    DWORD read = 0;
    if (!ReadConsoleOutputCharacterW(output, text.data(), cells, {0, static_cast<SHORT>(first)}, &read))
        return rows;
    for (int row = 0; row < end - first; ++row)
        rows.push_back(toUtf8(
            std::wstring_view(text).substr(static_cast<std::size_t>(row * width), static_cast<std::size_t>(width))));
    return rows;
}

std::uint64_t startedAt(DWORD process)
{
    const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle)
        return 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    std::uint64_t started = 0;
    if (GetProcessTimes(handle, &created, &exited, &kernel, &user))
        started = (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    CloseHandle(handle);
    return started;
}

// Every program attached to the console but this helper.
std::vector<ConsoleProgram> attachedPrograms()
{
    std::vector<DWORD> ids(64);
    DWORD count = GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
    if (count > ids.size()) {
        ids.resize(count + 16);
        count = GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
    }
    ids.resize(std::min<std::size_t>(count, ids.size()));
    std::map<std::uint32_t, std::string> images;
    try {
        for (const RunningProcess& process : runningProcesses())
            images[process.id] = process.image;
    } catch (const std::exception&) {
        // Without names every program counts as the server's.
    }
    std::vector<ConsoleProgram> programs;
    for (const DWORD id : ids) {
        if (id != GetCurrentProcessId())
            programs.push_back({id, images[id], startedAt(id)});
    }
    return programs;
}

// Reads for limitMs after the last rows the output added, never longer than
// kLongestWatchMs in all: the keys go in after the watch began, by another
// helper, which on a loaded machine can take seconds to start, and the
// answer comes after the echo of the keys.
void handOnRows(HANDLE output, RowTracker& tracker, DWORD limitMs, const HelperSay& say)
{
    const ULONGLONG start = GetTickCount64();
    ULONGLONG deadline = start + limitMs;
    ReadPace pace(start);
    for (ULONGLONG now = start; now < deadline; now = GetTickCount64()) {
        Sleep(pace.waitMs(now));
        Cursor cursor;
        if (!cursorOf(output, cursor))
            return; // the console is going away
        const int first = tracker.firstRowToRead(cursor.row);
        const std::vector<std::string> fresh =
            tracker.update(first, readRows(output, first, cursor.row, cursor.width), cursor.row);
        if (fresh.empty())
            continue;
        pace.rowsAdded(GetTickCount64());
        if (!say(rowsFrame(fresh)))
            return; // the watch has ended
        deadline = std::min<ULONGLONG>(GetTickCount64() + limitMs, start + kLongestWatchMs);
    }
}

} // namespace

WriteOutcome watchAttachedConsole(const WatchRequest& request, const HelperSay& say)
{
    const ConsoleDevice output(L"CONOUT$");
    Cursor cursor;
    if (!output.opened() || !cursorOf(output.handle(), cursor))
        return {WriteOutcome::Status::Failed,
                "could not read the console back: " + systemMessage(output.opened() ? GetLastError() : output.error())};
    constexpr int kRowsAbove = 3;
    RowTracker tracker(cursor.row,
                       readRows(output.handle(), std::max(0, cursor.row - kRowsAbove), cursor.row, cursor.width));
    if (!say(watchingFrame(attachedPrograms())))
        return {WriteOutcome::Status::Typed, {}};
    handOnRows(output.handle(), tracker, request.readRowsMs, say);
    return {WriteOutcome::Status::Typed, {}};
}

} // namespace vt::win32
