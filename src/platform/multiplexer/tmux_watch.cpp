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
#include "platform/multiplexer/server_watch.h"
#include "platform/multiplexer/watch_support.h"

namespace vt::multiplexer {

namespace {

// The longest the watch's own tmux calls take as it ends: a client that has
// not left this soon after its input closed is killed, and the check that
// the pane has gone is given up. A stopped tmux server must not hold the
// program.
constexpr int kDetachTimeoutMs = 1000;

// Longest the end of the server waits for the output tmux still has.
constexpr int kSyncTimeoutMs = 1000;

class TmuxStepWatch : public StepWatch {
public:
    TmuxStepWatch(const std::string& program, const TmuxPane& pane, const StepExpectation& expected, SightingSink sink)
        : program_(program), pane_(pane), expected_(expected), sink_(std::move(sink)),
          client_({program, "-C", "attach-session", "-r", "-f", "ignore-size", "-t", pane.id}),
          server_(pane.pid, wakeup_)
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
        reading_ = client_.started();
        for (;;) {
            pollfd watched[2] = {{wakeup_.fd(), POLLIN, 0}, {reading_ ? client_.output() : -1, POLLIN, 0}};
            if (::poll(watched, 2, pollTimeout(nextDue())) < 0 && errno != EINTR)
                break;
            const unsigned reasons = (watched[0].revents & POLLIN) ? wakeup_.take() : 0;
            if (reasons & Wakeup::Stop)
                break;
            if (reasons & Wakeup::GiveUpOutput)
                reading_ = stopReading();
            if (reasons & Wakeup::ServerEnded)
                serverEnded();
            if (reading_ && watched[1].revents != 0 && !readOutput())
                reading_ = stopReading();
            if (syncBy_ && ServerWatch::Clock::now() >= *syncBy_)
                reportServerEnded();
            if (const auto seen = server_.lookIfDue())
                sink_.report(*seen);
        }
        client_.end(kDetachTimeoutMs);
    }

    std::optional<ServerWatch::Clock::time_point> nextDue() const
    {
        const auto look = server_.nextLook();
        if (!syncBy_ || (look && *look < *syncBy_))
            return look;
        return syncBy_;
    }

    // The server's programs have ended; what they printed last may still be
    // on its way through tmux (a restart's report comes just before the end).
    // A command sent now is answered after the output tmux has read so far:
    // the end is reported with that answer, or after kSyncTimeoutMs.
    void serverEnded()
    {
        if (reading_ && attach_ == Attach::Attached && client_.send("display-message -p end\n")) {
            syncBy_ = ServerWatch::Clock::now() + std::chrono::milliseconds(kSyncTimeoutMs);
            return;
        }
        reportServerEnded();
    }

    void reportServerEnded()
    {
        syncBy_.reset();
        sink_.report(ConsoleSighting::ServerEnded);
        if (expected_.kind == StepExpectation::Kind::Restart)
            server_.lookForNewServer();
    }

    bool stopReading()
    {
        settleAttach(Attach::Failed);
        client_.end(kDetachTimeoutMs);
        if (syncBy_)
            reportServerEnded();
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
            if (syncBy_)
                reportServerEnded();
            settleAttach(Attach::Attached);
            break;
        case ControlLine::Kind::Failed:
            if (syncBy_)
                reportServerEnded();
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
            runClient({program_, "display-message", "-p", "-t", pane_.id, "#{pane_id}"}, kDetachTimeoutMs);
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
    bool reading_ = false;
    std::optional<ServerWatch::Clock::time_point> syncBy_;
    std::mutex mutex_;
    std::condition_variable attached_;
    Attach attach_ = Attach::Pending;
    ServerWatch server_;
    std::thread thread_;
};

} // namespace

std::unique_ptr<StepWatch> watchTmuxPane(const std::string& program, const TmuxPane& pane,
                                         const StepExpectation& expected, SightingSink sink)
{
    return std::make_unique<TmuxStepWatch>(program, pane, expected, std::move(sink));
}

} // namespace vt::multiplexer
