// Loading a window's keys from a settings file near the 1 MiB limit: one
// with 100,000 sections, one with 10,000 keys in the program's section.
// The peer reads the same file line by line with std::getline and nothing
// else, so the ratio says what parsing costs on top of reading.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/ini_file_store.h"

namespace {

const std::string kApp = "VT_HALTWARD";
const std::string kSection = "vt-haltward";
constexpr int kRuns = 21;

std::vector<std::string> windowKeys()
{
    return {"MAIN-Left",
            "MAIN-Top",
            "MAIN-Width",
            "MAIN-Height",
            "AUTOSTART_SHUTDOWN_TICKBOX",
            "AUTOSTART_RESTART_TICKBOX",
            "AUTOCLOSE_TICKBOX",
            "SERVER_NAME_TEXTBOX",
            "THREE_MIN_MESSAGE_TEXTBOX",
            "TWO_MIN_MESSAGE_TEXTBOX",
            "ONE_MIN_MESSAGE_TEXTBOX",
            "SHUTDOWN_RESTART_MESSAGE_TEXTBOX",
            "WINDOW_NAME_TEXTBOX"};
}

std::string programSection()
{
    std::string text = "[" + kSection + "]\n";
    for (const auto& key : windowKeys())
        text += key + "=1000\n";
    return text;
}

std::string manySections()
{
    std::string text;
    char header[16];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(header, sizeof header, "[%06d]\n", i);
        text += header;
    }
    return text + programSection();
}

std::string manyKeys()
{
    std::string text = programSection();
    char key[16];
    for (int i = 0; i < 10000; ++i) {
        std::snprintf(key, sizeof key, "K%05d=", i);
        text += key + std::string(90, 'v') + "\n";
    }
    return text;
}

// CPU time of this process: the machine is shared, and wall time would
// count the other programs' turns.
double cpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

template <typename Work>
double medianMs(Work work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const double start = cpuMs();
        work();
        times.push_back(cpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::size_t countLines(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::size_t lines = 0;
    while (std::getline(in, line))
        ++lines;
    return lines;
}

void measure(const char* name, const std::string& home, const std::string& text)
{
    const std::string folder = home + "/" + kApp;
    ::mkdir(folder.c_str(), 0700);
    const std::string path = folder + "/settings.ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    ::chmod(path.c_str(), 0600);

    vt::posix::IniFileStore store(home);
    std::size_t found = 0;
    const double load = medianMs([&] { found = store.loadSection(kApp, kSection, windowKeys()).values.size(); });
    std::size_t lines = 0;
    const double peer = medianMs([&] { lines = countLines(path); });
    if (found != windowKeys().size() || lines == 0) {
        std::fprintf(stderr, "store_load_bench: %s: wrong result\n", name);
        std::exit(1);
    }
    std::printf("| %s (%zu bytes, %zu lines) | %.2f ms | %.2f ms | %.1f |\n", name, text.size(), lines, load, peer,
                load / peer);
}

} // namespace

int main()
{
    char pattern[] = "/tmp/vt-store-bench-XXXXXX";
    const char* home = ::mkdtemp(pattern);
    if (home == nullptr)
        return 1;
    std::printf("| file | loadSection, 13 keys | std::getline peer | ratio |\n|---|---|---|---|\n");
    std::fflush(stdout);
    measure("100,000 sections", home, manySections());
    measure("10,000 keys", home, manyKeys());
    std::system((std::string("rm -rf ") + home).c_str());
    return 0;
}
