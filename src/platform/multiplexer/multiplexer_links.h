#pragma once

#include <memory>
#include <string>

#include "platform/link/console_link.h"

namespace vt::multiplexer {

// Longest a tmux or screen client may take for one call before it is killed.
inline constexpr int kClientTimeoutMs = 5000;

// Consoles in tmux sessions on the user's default tmux server (TMUX_TMPDIR
// and TMUX are honoured, as the tmux client does). No focus, no display.
class TmuxConsoleLink : public ConsoleLink {
public:
    explicit TmuxConsoleLink(std::string program = "tmux") : program_(std::move(program)) {}
    std::unique_ptr<KeySender> activate(const std::string& name) override;

private:
    std::string program_;
};

// Consoles in GNU screen sessions of this user (SCREENDIR honoured).
class ScreenConsoleLink : public ConsoleLink {
public:
    explicit ScreenConsoleLink(std::string program = "screen") : program_(std::move(program)) {}
    std::unique_ptr<KeySender> activate(const std::string& name) override;

private:
    std::string program_;
};

} // namespace vt::multiplexer
