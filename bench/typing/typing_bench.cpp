// typing-bench type TITLE NOTATION   prints "<activate ms> <type ms>" for one line
// typing-bench diff EXPECTED ACTUAL  prints how many characters were lost or wrong
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/failures.h"
#include "platform/x11/x11_console_link.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int typeLine(const std::string& title, const std::string& notation)
{
    std::vector<std::pair<Clock::time_point, std::function<void()>>> delayed;
    vt::x11::X11ConsoleLink link([&](int delayMs, std::function<void()> work) {
        delayed.emplace_back(Clock::now() + std::chrono::milliseconds(delayMs), std::move(work));
    });
    const auto start = Clock::now();
    auto sender = link.activate(title);
    const double activateMs = millisecondsSince(start);
    const auto typed = Clock::now();
    sender->sendKeys(notation, true);
    sender->deliver();
    const double typeMs = millisecondsSince(typed);
    std::printf("%.2f %.2f\n", activateMs, typeMs);
    for (auto& [due, work] : delayed) { // the keymap is restored after the measurement
        std::this_thread::sleep_until(due);
        work();
    }
    return 0;
}

std::u32string decode(const std::string& text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : byte < 0xe0 ? 2 : byte < 0xf0 ? 3 : 4;
        char32_t c = length == 1 ? byte : byte & (0x3f >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (text[i + k] & 0x3f);
        out.push_back(c);
        i += length;
    }
    return out;
}

// Edit distance in characters: each lost, added or wrong character counts once.
std::size_t wrongCharacters(const std::u32string& expected, const std::u32string& actual)
{
    std::vector<std::size_t> row(actual.size() + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= expected.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= actual.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (expected[i - 1] != actual[j - 1] ? 1 : 0)});
            diagonal = above;
        }
    }
    return row.back();
}

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "type" && argc == 4)
            return typeLine(argv[2], argv[3]);
        if (mode == "diff" && argc == 4) {
            std::printf("%zu\n", wrongCharacters(decode(argv[2]), decode(argv[3])));
            return 0;
        }
    } catch (const vt::Failure& failure) {
        std::fprintf(stderr, "typing-bench: %s\n", failure.what());
        return 1;
    }
    std::fprintf(stderr, "usage: typing-bench type TITLE NOTATION | typing-bench diff EXPECTED ACTUAL\n");
    return 64;
}
