// silent-x-server: stands in for a frozen X server. It listens on the TCP
// port of the first free display number from 100 up (port 6000 + n), prints
// that number, and accepts every connection without ever answering, until it
// is killed.
#include <cstdio>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kFirstDisplay = 100;
constexpr int kLastDisplay = 999;
constexpr int kXPortBase = 6000;

// A listening socket on 127.0.0.1 for the display, or -1 when its port is taken.
int listenAs(int display)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(kXPortBase + display));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 16) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

} // namespace

int main()
{
    for (int display = kFirstDisplay; display <= kLastDisplay; ++display) {
        const int listening = listenAs(display);
        if (listening < 0)
            continue;
        std::printf("%d\n", display);
        std::fflush(stdout);
        std::vector<int> held; // open and unanswered, as a frozen server leaves them
        for (;;) {
            const int client = ::accept(listening, nullptr, nullptr);
            if (client >= 0)
                held.push_back(client);
        }
    }
    std::fprintf(stderr, "silent-x-server: no free display number from %d to %d\n", kFirstDisplay, kLastDisplay);
    return 1;
}
