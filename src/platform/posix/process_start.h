#pragma once

namespace vt::posix {

// Puts right what whoever started the program may have left wrong, before
// anything else runs. Schedulers and wrappers start programs in odd ways:
// - standard input, output or error closed: the next descriptor opened would
//   take that number, and a line meant for standard error would land in it;
//   each closed one is opened on /dev/null instead;
// - SIGCHLD ignored: the kernel then reaps children itself, waitpid fails and
//   a tmux or screen client's exit status is lost; it is set to its default;
// - a log reader that ends early (`vt-haltward | head -n 1`): SIGPIPE would
//   end the run at the next status line; it is ignored, and a line that
//   cannot be written is dropped by whoever writes it.
void prepareProcess();

} // namespace vt::posix
