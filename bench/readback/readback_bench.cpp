// The read-back of a console through the program's tmux and screen links.
//
// usage: readback-bench answers NAME RUNS
//   RUNS say lines, each as a confirmed step (activate, watch, deliver, wait
//   for the answer, end the watch) and, alternately, as a step of today
//   (activate, deliver). Prints per confirmed line "sighted US STEP US" (the
//   real-time clock when the answer was seen, and the step's cost) and per
//   plain line "plain US".
// usage: readback-bench stop NAME
//   Types stop as a confirmed step and waits for the server's end; prints
//   "ended MS" (milliseconds after the keys).
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/link/console_links.h"
#include "platform/multiplexer/multiplexer_links.h"

namespace {

using Clock = std::chrono::steady_clock;

long long microseconds(Clock::duration took)
{
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(took).count());
}

long long realTimeNow()
{
    return microseconds(std::chrono::system_clock::now().time_since_epoch());
}

// Waits for one kind of sighting.
class Awaited {
public:
    explicit Awaited(vt::ConsoleSighting kind) : kind_(kind) {}
    vt::SightingSink sink()
    {
        return [this](vt::ConsoleSighting seen) {
            if (seen != kind_)
                return;
            const long long at = realTimeNow();
            const std::lock_guard<std::mutex> lock(mutex_);
            seenAt_ = at;
            seen_.notify_all();
        };
    }
    // The real-time clock when it came, or 0 after the time allowed.
    long long wait(std::chrono::seconds allowed)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        seen_.wait_for(lock, allowed, [this] { return seenAt_ != 0; });
        return seenAt_;
    }

private:
    vt::ConsoleSighting kind_;
    std::mutex mutex_;
    std::condition_variable seen_;
    long long seenAt_ = 0;
};

void sayConfirmed(vt::ConsoleLink& links, const std::string& name, int run)
{
    const std::string text = "probe " + std::to_string(run);
    const auto start = Clock::now();
    auto sender = links.activate(name);
    Awaited answer(vt::ConsoleSighting::Answered);
    auto watch = sender->watch({vt::StepExpectation::Kind::Say, text}, answer.sink());
    sender->sendKeys("say " + text + "~", true);
    sender->deliver();
    const long long sighted = answer.wait(std::chrono::seconds(5));
    watch.reset();
    std::printf("sighted %lld step %lld\n", sighted, microseconds(Clock::now() - start));
}

void sayPlain(vt::ConsoleLink& links, const std::string& name, int run)
{
    const auto start = Clock::now();
    auto sender = links.activate(name);
    sender->sendKeys("say plain " + std::to_string(run) + "~", true);
    sender->deliver();
    std::printf("plain %lld\n", microseconds(Clock::now() - start));
}

void stopConfirmed(vt::ConsoleLink& links, const std::string& name)
{
    auto sender = links.activate(name);
    Awaited end(vt::ConsoleSighting::ServerEnded);
    auto watch = sender->watch({vt::StepExpectation::Kind::Stop, ""}, end.sink());
    sender->sendKeys("stop~", true);
    const long long typed = realTimeNow();
    sender->deliver();
    const long long ended = end.wait(std::chrono::seconds(600));
    std::printf("ended %lld\n", ended == 0 ? -1 : (ended - typed) / 1000);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: readback-bench answers NAME RUNS | stop NAME\n", stderr);
        return 2;
    }
    vt::multiplexer::TmuxConsoleLink tmux;
    vt::multiplexer::ScreenConsoleLink screen;
    vt::ConsoleLinks links({{"tmux", tmux}, {"screen", screen}});
    const std::string mode = argv[1];
    const std::string name = argv[2];
    if (mode == "stop") {
        stopConfirmed(links, name);
        return 0;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 20;
    for (int run = 0; run < runs; ++run) {
        sayConfirmed(links, name, run);
        sayPlain(links, name, run);
        std::fflush(stdout);
    }
    return 0;
}
