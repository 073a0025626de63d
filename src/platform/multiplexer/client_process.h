#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace vt::multiplexer {

// What one run of a multiplexer client came back with.
struct ClientResult {
    bool started = false;   // false: the program could not be run at all
    bool timedOut = false;  // killed after the time allowed
    int exitCode = -1;      // when it exited on its own
    std::string statusLost; // why its exit status could not be learned; empty when it was
    std::string output;     // standard output and error together, or why it did not start
};

// Runs argv[0] (looked up in PATH) with exactly these arguments, no shell,
// standard input from /dev/null, and waits at most timeoutMs for it to end.
// A client that hangs is killed, so a stuck multiplexer cannot stop the
// program's own timers for long.
ClientResult runClient(const std::vector<std::string>& argv, int timeoutMs);

// A client that runs beside the program: fed through its standard input,
// read through its standard output (and error). Ended and reaped when
// destroyed, so none is left behind.
class PipedClient {
public:
    // Runs argv[0] (looked up in PATH) with exactly these arguments, no shell.
    explicit PipedClient(const std::vector<std::string>& argv);
    ~PipedClient();
    PipedClient(const PipedClient&) = delete;
    PipedClient& operator=(const PipedClient&) = delete;

    bool started() const { return pid_ != 0; }
    // Why it did not start.
    const std::string& why() const { return why_; }
    // Its output, to read from; -1 once ended.
    int output() const { return output_; }
    // Writes to its input; false when it has gone.
    bool send(const std::string& text);
    // Closes its input, which tells a multiplexer client to leave, waits at
    // most timeoutMs for it to end, kills it after that, and reaps it.
    void end(int timeoutMs);

private:
    void closeEnds();

    pid_t pid_ = 0;
    int input_ = -1;
    int output_ = -1;
    std::string why_;
};

// Why the outcome of a call is unknown, in the operator's words ("tmux did not
// answer within 5 s and was stopped"), or empty when the client exited on its
// own and its exit status is known. An unknown outcome is never a success.
std::string unknownOutcome(const std::string& client, const ClientResult& result, int timeoutMs);

// The first line of a client's output, for a message.
std::string firstLine(const std::string& output);

} // namespace vt::multiplexer
