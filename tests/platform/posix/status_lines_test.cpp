#include "platform/posix/status_lines.h"

#include <cstdlib>
#include <ctime>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/headless/headless_event_loop.h"
#include "platform/headless/memory_store.h"
#include "platform/link/console_link.h"
#include "platform/services.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt::posix {
namespace {

using headless::HeadlessEventLoop;
using headless::MemoryStore;

using ::testing::ElementsAre;

class NoConsole : public ConsoleLink {
public:
    std::unique_ptr<KeySender> activate(const std::string&) override { return nullptr; }
};

struct StatusLinesTest : ::testing::Test {
    std::vector<std::string> lines;
    HeadlessEventLoop loop;
    MemoryStore store;
    NoConsole console;
    StatusLinesViewFactory views{{"STATUS_LABEL"}, [this](const std::string& line) { lines.push_back(line); }};
    Services services{loop, store, console, views, [] { return std::string("test"); }};
    Form form{services, "MAIN", "MAIN", WindowStyle{}};
    Label status{form, "STATUS_LABEL", Rect{}, 0, "READY..."};
    Label other{form, "OTHER_LABEL", Rect{}, 1, "x"};
};

TEST_F(StatusLinesTest, CaptionAtShowThenEveryChangeOfTheChosenLabelOnce)
{
    status.setCaption("STARTING IN 10 SECS...");
    form.show();
    status.setCaption("SPIGOT RESTART IN 3 MINS");
    other.setCaption("y");
    status.setEnabled(false);
    status.setCaption("SPIGOT RESTART IN 3 MINS");
    status.setCaption("READY...");
    EXPECT_THAT(lines,
                ElementsAre("STATUS STARTING IN 10 SECS...", "STATUS SPIGOT RESTART IN 3 MINS", "STATUS READY..."));
}

TEST_F(StatusLinesTest, DialogsGetNoView)
{
    Form dialog{services, "DIALOG", "DIALOG", WindowStyle{}};
    EXPECT_EQ(views.createView(dialog, &form), nullptr);
}

TEST(TimestampedLine, LocalDateAndTimeToTheSecondThenTheText)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    // 2026-12-07 04:00:10 UTC
    EXPECT_EQ(timestampedLine(1796616010, "STATUS SPIGOT SHUTDOWN IN 3 MINS"),
              "2026-12-07 04:00:10 STATUS SPIGOT SHUTDOWN IN 3 MINS");
}

} // namespace
} // namespace vt::posix
