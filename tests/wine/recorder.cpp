// A stand-in for the server console in the Wine scenarios: reads lines from
// its console as the operator's keyboard would deliver them and appends each
// to a transcript file as UTF-8. Like the server, it ends after "stop" or
// "restart". Once it is reading, it creates <transcript>.ready; each line
// also goes to <transcript>.times with the milliseconds since then.
//   recorder TRANSCRIPT [answer [STOP_SECONDS]]
// With "answer" it also answers on its console as a Spigot server does:
// "[HH:MM:SS INFO]: [Server] TEXT" for "say TEXT", the stop lines for "stop",
// and for "restart" the report of a missing restart script; the time of each
// answer (QueryPerformanceCounter, in ms) goes to <transcript>.answers. A
// server saving big worlds takes STOP_SECONDS after the stop lines to end.
// Like a server starting, it first logs 140 lines: the console's buffer
// (150 rows under Wine) is nearly full before the first key.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

void append(const std::wstring& path, const std::string& line)
{
    FILE* file = _wfopen(path.c_str(), L"ab");
    if (!file)
        return;
    std::fwrite(line.data(), 1, line.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
}

void touch(const std::wstring& path)
{
    if (FILE* file = _wfopen(path.c_str(), L"wb"))
        std::fclose(file);
}

double nowMs()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void logLine(const std::wstring& message)
{
    SYSTEMTIME time;
    GetLocalTime(&time);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"[%02u:%02u:%02u INFO]: ", time.wHour, time.wMinute, time.wSecond);
    const std::wstring line = stamp + message + L"\r\n";
    DWORD written = 0;
    WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void answer(const std::wstring& transcript, const std::wstring& line)
{
    if (line.rfind(L"say ", 0) == 0) {
        // Taken before the answer is written: once it is, a reader may see
        // it before this process runs on.
        char when[32];
        std::snprintf(when, sizeof(when), "%.3f", nowMs());
        logLine(L"[Server] " + line.substr(4));
        append(transcript + L".answers", when);
        return;
    }
    if (line == L"restart")
        logLine(L"Startup script './start.sh' does not exist! Stopping server.");
    if (line == L"stop" || line == L"restart") {
        for (const wchar_t* message : {L"Stopping the server", L"Stopping server", L"Saving players", L"Saving worlds"})
            logLine(message);
        return;
    }
    logLine(L"Unknown command. Type \"/help\" for help.");
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool answering = (argc == 3 || argc == 4) && std::wstring(argv[2]) == L"answer";
    if (argc != 2 && !answering) {
        std::fputs("usage: recorder TRANSCRIPT [answer [STOP_SECONDS]]\n", stderr);
        return 2;
    }
    const DWORD stopMs = argc == 4 ? static_cast<DWORD>(_wtoi(argv[3])) * 1000 : 0;
    const std::wstring transcript = argv[1];
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    SetConsoleMode(input, ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT);
    for (int line = 1; answering && line <= 140; ++line)
        logLine(L"Preparing spawn area: " + std::to_wstring(line * 100 / 140) + L"% (" + std::to_wstring(line) + L")");
    touch(transcript + L".ready");
    const ULONGLONG startMs = GetTickCount64();
    std::wstring line;
    for (;;) {
        wchar_t buffer[512];
        DWORD read = 0;
        if (!ReadConsoleW(input, buffer, 512, &read, nullptr) || read == 0)
            return 1;
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] == L'\r')
                continue;
            if (buffer[i] != L'\n') {
                line += buffer[i];
                continue;
            }
            append(transcript, utf8(line));
            append(transcript + L".times", std::to_string(GetTickCount64() - startMs) + "\t" + utf8(line));
            if (answering)
                answer(transcript, line);
            if (line == L"stop" || line == L"restart") {
                Sleep(stopMs);
                return 0;
            }
            line.clear();
        }
    }
}
