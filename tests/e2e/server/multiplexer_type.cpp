// usage: multiplexer-type NAME NOTATION...
// Each NOTATION is one sendKeys call of a single step. Prints the failure and
// exits 1 (ConsoleNotFound), 5 (a shell prompt: NoServerRunning),
// 3 (ConsoleAmbiguous) or 4 (any other failure).
#include "multiplexer_tool.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: multiplexer-type NAME NOTATION...\n", stderr);
        return 2;
    }
    return withMultiplexerLinks([&](vt::ConsoleLinks& links) {
        auto sender = links.activate(argv[1]);
        for (int i = 2; i < argc; ++i)
            sender->sendKeys(argv[i], false);
        sender->deliver();
        return 0;
    });
}
