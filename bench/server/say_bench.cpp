// Types lines into a tmux session through the program's tmux link, each as
// one console step ("say TEXT" and Enter), and prints the time per line in
// microseconds, one per line, for run.sh to compare with a shell script
// doing the same with the tmux client.
//
// usage: tmux-say-bench SESSION FILE   (FILE: one line of text per line)
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/keys/key_action.h"
#include "platform/multiplexer/multiplexer_links.h"

namespace {

// The text as notation: every character typed as itself.
std::string asNotation(const std::string& text)
{
    std::string notation;
    for (char c : text) {
        if (std::string("+^%~(){}[]").find(c) != std::string::npos)
            notation += std::string("{") + c + "}";
        else
            notation += c;
    }
    return notation;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: tmux-say-bench SESSION FILE\n", stderr);
        return 2;
    }
    vt::multiplexer::TmuxConsoleLink link;
    std::ifstream lines(argv[2]);
    std::string line;
    while (std::getline(lines, line)) {
        const auto start = std::chrono::steady_clock::now();
        auto sender = link.activate(argv[1]);
        sender->sendKeys("say ", false);
        sender->sendKeys(asNotation(line), false);
        sender->sendKeys("~", true);
        sender->deliver();
        const auto took = std::chrono::steady_clock::now() - start;
        std::printf("%lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
    }
    return 0;
}
