#pragma once

#include <memory>
#include <string>

#include "platform/link/console_watch.h"
#include "platform/multiplexer/tmux_target.h"

namespace vt::multiplexer {

// Watches a tmux pane for a step: a control-mode client attached to its
// session streams what the pane prints, line by line, on a thread of its own.
// It returns once the client is attached (or has failed to attach within the
// client timeout: then no output is read), so keys typed after it are seen.
//
// The client is attached read-only and left out of the window's sizing: the
// operator's window keeps its size. While it is attached the session counts
// one more client (tmux ls says "attached") and tmux runs the client-attached
// and client-detached hooks. Never pipe-pane: a pane has one pipe, and it may
// be the operator's log.
std::unique_ptr<StepWatch> watchTmuxPane(const std::string& program, const TmuxPane& pane,
                                         const StepExpectation& expected, SightingSink sink);

} // namespace vt::multiplexer
