// The screen link's reading of what screen answers, through a stand-in client
// that answers as screen 4.09 does.
#include <cstdio>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/multiplexer/multiplexer_links.h"
#include "platform/multiplexer/window_program_support.h"

namespace vt::multiplexer {
namespace {

using ::testing::HasSubstr;
using vt::testing::WindowProgram;

// A stand-in screen client of one session (named by this process, see
// WindowProgram) of one window; "-X stuff" exits 0 whatever became of the
// window, and the window asked for afterwards is gone, as when it closes in
// between; or, when screen is ending with that window, the question is never
// answered. One per test process: ctest runs the tests of this file side by
// side.
class ScreenWhoseWindowCloses {
public:
    enum class Afterwards { WindowGone, NoAnswer };

    explicit ScreenWhoseWindowCloses(Afterwards afterwards = Afterwards::WindowGone)
    {
        const char* number = afterwards == Afterwards::WindowGone
                                 ? "*number*) echo 'Could not find pre-select window.'; exit 1 ;;\n"
                                 : "*number*) exec sleep 30 ;;\n";
        std::ofstream script(path_, std::ios::trunc);
        script << "#!/bin/sh\n"
                  "case \"$*\" in\n"
                  "-ls) printf 'There is a screen on:\\n\\t%s.S\\t(Detached)\\n' \"$PPID\"; exit 1 ;;\n"
                  "*windows*) printf '0\\tjava\\n' ;;\n"
               << number
               << "esac\n"
                  "exit 0\n";
        script.close();
        ::chmod(path_.c_str(), 0755);
    }
    ~ScreenWhoseWindowCloses() { std::remove(path_.c_str()); }

    const std::string& path() const { return path_; }

private:
    std::string path_ = ::testing::TempDir() + "/vt-fake-screen-" + std::to_string(::getpid());
};

TEST(ScreenLink, AWindowWhoseProgramEndedBeforeTheKeysIsNotTypedInto)
{
    WindowProgram server;
    const ScreenWhoseWindowCloses screen;
    ScreenConsoleLink link(screen.path());
    const auto sender = link.activate("S");
    server.end();
    sender->sendKeys("stop{Enter}", false);
    try {
        sender->deliver();
        FAIL() << "reported as typed";
    } catch (const ConsoleNotFound& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("window 0 of the screen session " + std::to_string(::getpid()) +
                                              ".S closed; nothing was typed"));
    }
}

// A server that obeys "stop" at once closes its window before screen is asked
// for it: what became of the keys is the watch's to see, not a failure.
// Screen itself may be ending with that window, and leave a question
// unanswered: no failure either.
TEST(ScreenLink, AWindowThatClosesAsTheKeysArriveIsLeftToTheWatch)
{
    for (const auto afterwards :
         {ScreenWhoseWindowCloses::Afterwards::WindowGone, ScreenWhoseWindowCloses::Afterwards::NoAnswer}) {
        const WindowProgram server;
        const ScreenWhoseWindowCloses screen(afterwards);
        ScreenConsoleLink link(screen.path());
        const auto sender = link.activate("S");
        sender->sendKeys("stop{Enter}", false);
        EXPECT_NO_THROW(sender->deliver());
    }
}

} // namespace
} // namespace vt::multiplexer
