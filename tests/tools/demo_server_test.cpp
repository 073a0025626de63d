// The demo server program itself, on pipes: how it stops, restarts, takes
// its time, hangs, or reads nothing at all.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for a machine under any load to answer; nothing here waits it
// out unless the program is wrong.
constexpr auto kAnswerWithin = std::chrono::seconds(60);
// How long a console that must stay silent is watched.
constexpr auto kQuiet = std::chrono::milliseconds(500);

class DemoServer {
public:
    explicit DemoServer(std::vector<std::string> options)
    {
        // A server that ended early fails the test, not the test program.
        ::signal(SIGPIPE, SIG_IGN);
        int input[2], output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        options.insert(options.begin(), DEMO_SERVER);
        std::vector<char*> argv;
        for (auto& option : options)
            argv.push_back(option.data());
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(input[0], 0);
            ::dup2(output[1], 1);
            ::execv(DEMO_SERVER, argv.data());
            ::_exit(127);
        }
        ::close(input[0]);
        ::close(output[1]);
        input_ = input[1];
        output_ = output[0];
        EXPECT_NE(waitForLine("Done ("), "") << "no ready marker";
    }

    ~DemoServer()
    {
        if (pid_ > 0 && !exitStatus_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(input_);
        ::close(output_);
    }

    void type(const std::string& line)
    {
        const std::string text = line + "\n";
        ASSERT_EQ(::write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Reads the output until a line holds text; the line, or "" when none
    // came in time.
    std::string waitForLine(const std::string& text, Clock::duration within = kAnswerWithin)
    {
        const auto deadline = Clock::now() + within;
        for (;;) {
            std::string::size_type end;
            while ((end = pending_.find('\n')) != std::string::npos) {
                std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                if (line.find(text) != std::string::npos)
                    return line;
            }
            if (!readSome(deadline))
                return "";
        }
    }

    // The exit status once the program has ended; nullopt while it runs on
    // past the time given.
    std::optional<int> exitWithin(Clock::duration within)
    {
        const auto deadline = Clock::now() + within;
        while (!exitStatus_ && Clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_)
                exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return exitStatus_;
    }

private:
    bool readSome(Clock::time_point deadline)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd readable = {output_, POLLIN, 0};
        if (left <= 0 || ::poll(&readable, 1, static_cast<int>(left)) <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = ::read(output_, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        pending_.append(buffer, static_cast<size_t>(got));
        return true;
    }

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string pending_;
    std::optional<int> exitStatus_;
};

TEST(DemoServer, AnswersSayAndStopsAtStop)
{
    DemoServer server({});
    server.type("say Restart in 3 minutes");
    const std::string answer = server.waitForLine("[Server]");
    EXPECT_TRUE(std::regex_match(answer, std::regex(R"(\[\d\d:\d\d:\d\d INFO\]: \[Server\] Restart in 3 minutes)")))
        << answer;
    server.type("stop");
    EXPECT_NE(server.waitForLine("Saving worlds"), "");
    EXPECT_EQ(server.exitWithin(kAnswerWithin), 0);
}

TEST(DemoServer, RestartsWhenItsRestartScriptExists)
{
    char folder[] = "/tmp/vt-demo-server-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string script = std::string(folder) + "/start.sh";
    {
        DemoServer server({"--restart-script", script});
        server.type("restart");
        EXPECT_NE(server.waitForLine("Startup script '" + script + "' does not exist! Stopping server."), "");
        EXPECT_EQ(server.exitWithin(kAnswerWithin), 0);
    }
    std::fclose(std::fopen(script.c_str(), "w"));
    {
        DemoServer server({"--restart-script", script});
        server.type("restart");
        EXPECT_NE(server.waitForLine("Attempting to restart with " + script), "");
        EXPECT_NE(server.waitForLine("Saving worlds"), "");
        EXPECT_EQ(server.exitWithin(kAnswerWithin), 0);
    }
    std::remove(script.c_str());
    ::rmdir(folder);
}

TEST(DemoServer, TakesItsTimeToSaveTheWorlds)
{
    DemoServer server({"--stop-seconds", "2"});
    server.type("stop");
    const auto saving = Clock::now();
    EXPECT_NE(server.waitForLine("Saving worlds"), "");
    EXPECT_EQ(server.exitWithin(kAnswerWithin), 0);
    EXPECT_GE(Clock::now() - saving, std::chrono::seconds(2));
}

TEST(DemoServer, NeverStopsWhenToldNotTo)
{
    DemoServer server({"--never-stop"});
    server.type("stop");
    EXPECT_NE(server.waitForLine("Saving worlds"), "");
    EXPECT_EQ(server.exitWithin(std::chrono::seconds(2)), std::nullopt);
}

TEST(DemoServer, AFrozenConsoleAnswersNothing)
{
    DemoServer server({"--ignore-input"});
    server.type("say anyone there?");
    server.type("stop");
    EXPECT_EQ(server.waitForLine("", kQuiet), "") << "it answered";
    EXPECT_EQ(server.exitWithin(kQuiet), std::nullopt);
}

} // namespace
