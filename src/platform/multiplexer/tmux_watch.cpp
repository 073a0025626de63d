#include "platform/multiplexer/tmux_watch.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <poll.h>
#include <unistd.h>

#include "platform/multiplexer/client_process.h"
#include "platform/multiplexer/console_lines.h"
#include "platform/multiplexer/control_mode.h"
#include "platform/multiplexer/multiplexer_links.h"
#include "platform/multiplexer/watch_support.h"

namespace vt::multiplexer {

namespace {

// A client that does not leave this soon after its input closed is killed:
// a stopped tmux server must not hold the program.
constexpr int kDetachTimeoutMs = 1000;

class TmuxStepWatch : public StepWatch {
public:
    TmuxStepWatch(const std::string& program, const TmuxPane& pane, const StepExpectation& expected, SightingSink sink)
        : program_(program), pane_(pane), expected_(expected), sink_(std::move(sink)),
          client_({program, "-C", "attach-session", "-r", "-f", "ignore-size", "-t", pane.id})
    {
        thread_ = std::thread([this] { run(); });
        waitForAttach();
    }

    ~TmuxStepWatch() override
    {
        sink_.close();
        wakeup_.notify(Wakeup::Stop);
        thread_.join();
    }

private:
    enum class Attach { Pending, Attached, Failed };

    void waitForAttach()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        const bool settled = attached_.wait_for(lock, std::chrono::milliseconds(kClientTimeoutMs),
                                                [this] { return attach_ != Attach::Pending; });
        if (!settled)
            wakeup_.notify(Wakeup::GiveUpOutput);
    }

    void settleAttach(Attach how)
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (attach_ != Attach::Pending)
                return;
            attach_ = how;
        }
        attached_.notify_all();
    }

    void run()
    {
        if (!client_.started())
            settleAttach(Attach::Failed);
        bool reading = client_.started();
        for (;;) {
            pollfd watched[2] = {{wakeup_.fd(), POLLIN, 0}, {reading ? client_.output() : -1, POLLIN, 0}};
            if (::poll(watched, 2, -1) < 0 && errno != EINTR)
                break;
            const unsigned reasons = (watched[0].revents & POLLIN) ? wakeup_.take() : 0;
            if (reasons & Wakeup::Stop)
                break;
            if (reasons & Wakeup::GiveUpOutput)
                reading = stopReading();
            if (reading && watched[1].revents != 0 && !readOutput())
                reading = stopReading();
        }
        client_.end(kDetachTimeoutMs);
    }

    bool stopReading()
    {
        settleAttach(Attach::Failed);
        client_.end(kDetachTimeoutMs);
        return false;
    }

    // False once the client's output has ended.
    bool readOutput()
    {
        char chunk[4096];
        const ssize_t got = ::read(client_.output(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            return true;
        if (got <= 0) {
            clientLeft();
            return false;
        }
        for (const std::string& line : controlLines_.add({chunk, static_cast<std::size_t>(got)}))
            handle(parseControlLine(line));
        return true;
    }

    void handle(const ControlLine& line)
    {
        switch (line.kind) {
        case ControlLine::Kind::Done:
            settleAttach(Attach::Attached);
            break;
        case ControlLine::Kind::Failed:
            settleAttach(Attach::Failed);
            break;
        case ControlLine::Kind::Output:
            if (line.target == pane_.id)
                read(line.text);
            break;
        case ControlLine::Kind::WindowClosed:
            if (line.target == pane_.window)
                sink_.report(ConsoleSighting::ServerEnded);
            break;
        case ControlLine::Kind::Exit:
            clientLeft();
            break;
        case ControlLine::Kind::Other:
            break;
        }
    }

    void read(const std::string& output)
    {
        for (const std::string& line : paneLines_.add(output)) {
            if (const auto sighting = sightingInLine(line, expected_))
                sink_.report(*sighting);
        }
    }

    // The client leaves when the session or the server ends, and also when
    // someone detaches it (attach -d): only a pane that is gone means the
    // console closed.
    void clientLeft()
    {
        settleAttach(Attach::Failed);
        if (leftOnce_)
            return;
        leftOnce_ = true;
        const ClientResult pane =
            runClient({program_, "display-message", "-p", "-t", pane_.id, "#{pane_id}"}, kClientTimeoutMs);
        if (pane.started && !pane.timedOut && pane.statusLost.empty() && pane.exitCode != 0)
            sink_.report(ConsoleSighting::ServerEnded);
    }

    const std::string program_;
    const TmuxPane pane_;
    const StepExpectation expected_;
    OnceSink sink_;
    Wakeup wakeup_;
    PipedClient client_;
    ConsoleLines controlLines_;
    ConsoleLines paneLines_;
    bool leftOnce_ = false;
    std::mutex mutex_;
    std::condition_variable attached_;
    Attach attach_ = Attach::Pending;
    std::thread thread_;
};

} // namespace

std::unique_ptr<StepWatch> watchTmuxPane(const std::string& program, const TmuxPane& pane,
                                         const StepExpectation& expected, SightingSink sink)
{
    return std::make_unique<TmuxStepWatch>(program, pane, expected, std::move(sink));
}

} // namespace vt::multiplexer
