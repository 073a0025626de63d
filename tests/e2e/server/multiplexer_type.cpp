// usage: multiplexer-type NAME NOTATION...
// Each NOTATION is one sendKeys call of a single step. Prints the failure and
// exits 1 (ConsoleNotFound), 3 (ConsoleAmbiguous) or 4 (any other failure).
#include <cstdio>

#include "platform/failures.h"
#include "platform/link/console_links.h"
#include "platform/multiplexer/multiplexer_links.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: multiplexer-type NAME NOTATION...\n", stderr);
        return 2;
    }
    vt::multiplexer::TmuxConsoleLink tmux;
    vt::multiplexer::ScreenConsoleLink screen;
    vt::ConsoleLinks links({{"tmux", tmux}, {"screen", screen}});
    try {
        auto sender = links.activate(argv[1]);
        for (int i = 2; i < argc; ++i)
            sender->sendKeys(argv[i], false);
        sender->deliver();
    } catch (const vt::ConsoleAmbiguous& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 3;
    } catch (const vt::ConsoleNotFound& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    } catch (const vt::Failure& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 4;
    }
    return 0;
}
