#include "platform/multiplexer/window_program_support.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "platform/posix/proc_files.h"

namespace vt::testing {

WindowProgram::WindowProgram(const std::string& window, int output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const int fd : {0, 1, 2}) {
        if (output >= 0)
            posix_spawn_file_actions_adddup2(&actions, output, fd);
    }
    char arg0[] = "sleep";
    char arg1[] = "60";
    char* argv[] = {arg0, arg1, nullptr};
    std::string variable = "WINDOW=" + window;
    char* environment[] = {variable.data(), nullptr};
    if (::posix_spawnp(&pid_, "sleep", &actions, nullptr, argv, environment) != 0)
        pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
    // Its environment is the window's once it runs sleep.
    for (int tries = 0; pid_ > 0 && tries < 500 && posix::procName(pid_) != "sleep"; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void WindowProgram::end()
{
    if (pid_ == 0)
        return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
}

} // namespace vt::testing
