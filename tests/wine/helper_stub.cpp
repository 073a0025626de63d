// The program's side of the console helper against helpers that end badly,
// for real processes and pipes under Wine: helper_stub MODE runs one write
// through writeToConsoleInHelper with itself as the helper, which then
// behaves as MODE says, and prints what the program would report:
//   hang         never answers
//   cut-writing  says it is writing, then ends (status 3)
//   cut-written  says every key is in, then ends as a closed console ends it
//   nonsense     answers bytes that are no frame
//   typed        answers that the step was typed
// Prints "<failure kind>: <message>" or "typed"; exit code 0 when the call
// returned or threw one of the program's failures.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/failures.h"
#include "platform/win32/link/console_helper.h"
#include "platform/win32/link/console_helper_protocol.h"

namespace {

void answer(const std::string& bytes)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int actAsHelper()
{
    using namespace vt::win32;
    char mode[32] = {};
    GetEnvironmentVariableA("VT_STUB_MODE", mode, sizeof(mode));
    const std::string how = mode;
    if (how == "hang")
        Sleep(INFINITE);
    if (how == "cut-writing") {
        answer(stageFrame(WriteStage::Writing));
        return 3;
    }
    if (how == "cut-written") {
        answer(stageFrame(WriteStage::Writing) + stageFrame(WriteStage::Written));
        return static_cast<int>(0xC000013AL);
    }
    if (how == "nonsense") {
        answer(std::string("\x07\x01\x00\x00\x00x", 6));
        return 0;
    }
    answer(outcomeFrame({WriteOutcome::Status::Typed, {}}));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wstring(argv[1]) == vt::win32::kConsoleHelperArgument)
        return actAsHelper();
    if (argc != 2) {
        std::fputs("usage: helper_stub MODE\n", stderr);
        return 2;
    }
    SetEnvironmentVariableW(L"VT_STUB_MODE", argv[1]); // the helper inherits it
    const ULONGLONG start = GetTickCount64();
    try {
        vt::win32::writeToConsoleInHelper({{1234}, 0, true, "SPIGOT-SERVER", {}});
        std::printf("typed\n");
    } catch (const vt::DeliveryUnknown& failure) {
        std::printf("unknown: %s\n", failure.what());
    } catch (const vt::ConsoleNotFound& failure) {
        std::printf("not found: %s\n", failure.what());
    } catch (const vt::KeySenderFailed& failure) {
        std::printf("failed: %s\n", failure.what());
    }
    std::printf("after %llu ms\n", static_cast<unsigned long long>(GetTickCount64() - start));
    return 0;
}
