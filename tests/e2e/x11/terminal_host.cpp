// terminal-host N: runs N programs (sleep) on pseudo-terminals of their own,
// as one terminal process showing N windows does, until it is killed; its
// windows' programs then lose their terminals and end.
#include <pty.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    const int count = argc == 2 ? std::atoi(argv[1]) : 0;
    if (count < 1) {
        std::cerr << "usage: terminal-host N\n";
        return 64;
    }
    for (int i = 0; i < count; ++i) {
        int terminal = -1;
        const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        if (child < 0) {
            std::cerr << "terminal-host: forkpty failed\n";
            return 1;
        }
        if (child == 0) {
            ::execlp("sleep", "sleep", "600", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    for (;;)
        ::pause();
}
