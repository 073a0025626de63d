// x11-type [--pause-ms N] [--wait] [--each] [--watch-end SECONDS [--restart]] TITLE NOTATION...
// Types each notation string into the window titled TITLE, one step each,
// and reports how many arrived. With --each, every string is a step of its
// own activation, as the program makes them, and a failed step does not end
// the run: it reports "sent N of M, refused K" and exits 0. With --watch-end,
// it prints what the link sees of the console ("sight: readable=0 watched=1",
// or watched=0 and why), watches the steps as a stop, and after the last one
// waits up to SECONDS for the server's end: "server ended after S s" or
// "server still running". With --restart the steps are watched as a restart,
// and then it waits up to SECONDS more for a new server: "server started
// after S s" or "no new server". Exit status: 0 done, 2 console not found, 3 focus
// lost, 4 key sender failed, 5 bad notation, 6 no server (a shell prompt),
// 1 any other failure.
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <future>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/failures.h"
#include "platform/x11/x11_console_link.h"

namespace {

using Clock = std::chrono::steady_clock;

// Stands in for the program's event loop: runs the link's delayed work in order.
class DelayedWork {
public:
    void add(int delayMs, std::function<void()> work)
    {
        jobs_.push_back({Clock::now() + std::chrono::milliseconds(delayMs), std::move(work)});
    }
    void runAll()
    {
        for (std::size_t i = 0; i < jobs_.size(); ++i) {
            std::this_thread::sleep_until(jobs_[i].due);
            jobs_[i].work();
        }
        jobs_.clear();
    }

private:
    struct Job {
        Clock::time_point due;
        std::function<void()> work;
    };
    std::vector<Job> jobs_;
};

struct Options {
    int pauseMs = 0;
    bool wait = false;
    bool each = false;
    int watchEndSeconds = -1;
    bool restart = false;
    std::string title;
    std::vector<std::string> strings;
};

Options parseOptions(int argc, char** argv)
{
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--wait") {
            options.wait = true;
        } else if (arg == "--each") {
            options.each = true;
        } else if (arg == "--pause-ms" && i + 1 < argc) {
            options.pauseMs = std::atoi(argv[++i]);
        } else if (arg == "--restart") {
            options.restart = true;
        } else if (arg == "--watch-end" && i + 1 < argc) {
            options.watchEndSeconds = std::atoi(argv[++i]);
        } else {
            break;
        }
    }
    if (i >= argc) {
        std::cerr
            << "usage: x11-type [--pause-ms N] [--wait] [--each] [--watch-end SECONDS [--restart]] TITLE NOTATION...\n";
        std::exit(64);
    }
    options.title = argv[i++];
    options.strings.assign(argv + i, argv + argc);
    return options;
}

int exitCodeOf(const vt::Failure& failure, std::string& kind)
{
    struct Kind {
        int code;
        const char* name;
    };
    const Kind kinds[] = {
        {6, "NoServerRunning"}, {2, "ConsoleNotFound"}, {3, "FocusLost"}, {4, "KeySenderFailed"}, {5, "NotationError"}};
    const bool matches[] = {dynamic_cast<const vt::NoServerRunning*>(&failure) != nullptr,
                            dynamic_cast<const vt::ConsoleNotFound*>(&failure) != nullptr,
                            dynamic_cast<const vt::FocusLost*>(&failure) != nullptr,
                            dynamic_cast<const vt::KeySenderFailed*>(&failure) != nullptr,
                            dynamic_cast<const vt::NotationError*>(&failure) != nullptr};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        if (matches[i]) {
            kind = kinds[i].name;
            return kinds[i].code;
        }
    }
    kind = "Failure";
    return 1;
}

// Every string a step of its own activation; failures are counted, not fatal.
int typeEach(vt::x11::X11ConsoleLink& link, const Options& options)
{
    std::size_t sent = 0;
    std::size_t refused = 0;
    for (const auto& text : options.strings) {
        try {
            auto sender = link.activate(options.title);
            sender->sendKeys(text, options.wait);
            sender->deliver();
            ++sent;
        } catch (const vt::Failure& failure) {
            ++refused;
            std::cerr << "x11-type: " << failure.what() << "\n";
        }
        if (options.pauseMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(options.pauseMs));
    }
    std::cout << "sent " << sent << " of " << options.strings.size() << ", refused " << refused << "\n";
    return 0;
}

// Watches the server's end (and a restart's new server) from before the
// first key, as the program does.
class EndWatch {
public:
    EndWatch(vt::KeySender& sender, const Options& options) : options_(options)
    {
        const vt::ConsoleSight sight = sender.sight();
        std::cout << "sight: readable=" << sight.readable << " watched=" << sight.serverWatched;
        if (!sight.unwatchedWhy.empty())
            std::cout << " (" << sight.unwatchedWhy << ")";
        std::cout << std::endl;
        auto ended = std::make_shared<std::promise<void>>();
        auto started = std::make_shared<std::promise<void>>();
        ended_ = ended->get_future();
        started_ = started->get_future();
        const auto kind = options.restart ? vt::StepExpectation::Kind::Restart : vt::StepExpectation::Kind::Stop;
        watch_ = sender.watch({kind, ""}, [ended, started](vt::ConsoleSighting sighting) {
            if (sighting == vt::ConsoleSighting::ServerEnded)
                ended->set_value();
            if (sighting == vt::ConsoleSighting::ServerStarted)
                started->set_value();
        });
    }

    void await()
    {
        const auto start = Clock::now();
        if (!seen(ended_)) {
            std::cout << "server still running" << std::endl;
            return;
        }
        std::cout << "server ended after " << secondsSince(start) << " s" << std::endl;
        if (!options_.restart)
            return;
        if (seen(started_))
            std::cout << "server started after " << secondsSince(start) << " s" << std::endl;
        else
            std::cout << "no new server" << std::endl;
    }

private:
    bool seen(std::future<void>& sighting) const
    {
        return watch_ && sighting.wait_for(std::chrono::seconds(options_.watchEndSeconds)) == std::future_status::ready;
    }

    static double secondsSince(Clock::time_point start)
    {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    const Options& options_;
    std::future<void> ended_;
    std::future<void> started_;
    std::unique_ptr<vt::StepWatch> watch_;
};

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const Options options = parseOptions(argc, argv);
    DelayedWork delayed;
    std::size_t sent = 0;
    int status = 0;
    try {
        vt::x11::X11ConsoleLink link(
            [&](int delayMs, std::function<void()> work) { delayed.add(delayMs, std::move(work)); });
        if (options.each) {
            status = typeEach(link, options);
            delayed.runAll();
            return status;
        }
        try {
            auto sender = link.activate(options.title);
            std::optional<EndWatch> endWatch;
            if (options.watchEndSeconds >= 0)
                endWatch.emplace(*sender, options);
            for (const auto& text : options.strings) {
                sender->sendKeys(text, options.wait);
                sender->deliver();
                ++sent;
                if (options.pauseMs > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(options.pauseMs));
            }
            if (endWatch)
                endWatch->await();
        } catch (const vt::Failure& failure) {
            std::string kind;
            status = exitCodeOf(failure, kind);
            std::cerr << "x11-type: " << kind << ": " << failure.what() << "\n";
        }
        delayed.runAll(); // the keymap is restored before the link closes
    } catch (const vt::Failure& failure) {
        std::string kind;
        status = exitCodeOf(failure, kind);
        std::cerr << "x11-type: " << kind << ": " << failure.what() << "\n";
    }
    std::cout << "sent " << sent << " of " << options.strings.size() << "\n";
    return status;
}
