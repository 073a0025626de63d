// The screen link's reading of what screen answers, through a stand-in client
// that answers as screen 4.09 does.
#include <fstream>

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/failures.h"
#include "platform/multiplexer/multiplexer_links.h"

namespace vt::multiplexer {
namespace {

using ::testing::HasSubstr;

// One session of one window; "-X stuff" exits 0 whatever became of the window,
// and the window asked for afterwards is gone, as when it closes in between.
std::string screenWhoseWindowCloses()
{
    const std::string path = ::testing::TempDir() + "/vt-fake-screen";
    std::ofstream script(path, std::ios::trunc);
    script << "#!/bin/sh\n"
              "case \"$*\" in\n"
              "-ls) printf 'There is a screen on:\\n\\t42.S\\t(Detached)\\n'; exit 1 ;;\n"
              "*windows*) printf '0\\tjava\\n' ;;\n"
              "*number*) echo 'Could not find pre-select window.'; exit 1 ;;\n"
              "esac\n"
              "exit 0\n";
    script.close();
    ::chmod(path.c_str(), 0755);
    return path;
}

TEST(ScreenLink, AWindowGoneWhenTheKeysWentIsAFailureNotTyped)
{
    ScreenConsoleLink link(screenWhoseWindowCloses());
    const auto sender = link.activate("S");
    sender->sendKeys("stop{Enter}", false);
    try {
        sender->deliver();
        FAIL() << "reported as typed";
    } catch (const KeySenderFailed& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("window 0 of the screen session 42.S closed while typing"));
    }
}

} // namespace
} // namespace vt::multiplexer
