// A stand-in for the server console in the Wine scenarios: reads lines from
// its console as the operator's keyboard would deliver them and appends each
// to a transcript file as UTF-8. Like the server, it ends after "stop" or
// "restart". Once it is reading, it creates <transcript>.ready; each line
// also goes to <transcript>.times with the milliseconds since then.
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

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fputs("usage: recorder TRANSCRIPT\n", stderr);
        return 2;
    }
    const std::wstring transcript = argv[1];
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    SetConsoleMode(input, ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_PROCESSED_INPUT);
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
            if (line == L"stop" || line == L"restart")
                return 0;
            line.clear();
        }
    }
}
