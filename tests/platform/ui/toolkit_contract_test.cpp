// The toolkit contract the windows' handlers rely on, on a small form of its own.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/headless/headless_console.h"
#include "platform/headless/headless_event_loop.h"
#include "platform/headless/memory_store.h"
#include "platform/headless/null_views.h"
#include "platform/ui/form.h"

namespace vt {
namespace {

using headless::HeadlessConsole;
using headless::HeadlessEventLoop;
using headless::MemoryStore;
using headless::NullViewFactory;

class SampleForm : public Form {
public:
    explicit SampleForm(Services& services)
        : Form(services, "SAMPLE", "Sample", WindowStyle{3000, 2000, false, 8.25}),
          OK_BUTTON(*this, "OK_BUTTON", {0, 0, 100, 100}, 0, "OK"),
          OTHER_BUTTON(*this, "OTHER_BUTTON", {0, 0, 100, 100}, 1, "Fish && Chips"),
          A_TICKBOX(*this, "A_TICKBOX", {0, 0, 100, 100}, 2, "A"),
          B_TICKBOX(*this, "B_TICKBOX", {0, 0, 100, 100}, 3, "B"),
          NAME_TEXTBOX(*this, "NAME_TEXTBOX", {0, 0, 100, 100}, 4, "kept"), TICK_TIMER(*this, "TICK_TIMER"),
          OTHER_TIMER(*this, "OTHER_TIMER")
    {
        OK_BUTTON.setDefault(true);
        OK_BUTTON.onClick = [this] { log.push_back("OK_BUTTON_Click"); };
        OTHER_BUTTON.onClick = [this] { log.push_back("OTHER_BUTTON_Click"); };
        A_TICKBOX.onClick = [this] {
            log.push_back("A_TICKBOX_Click " + std::to_string(A_TICKBOX.value()));
            if (A_TICKBOX.value() == 1)
                B_TICKBOX.setValue(1);
            log.push_back("A_TICKBOX_Click end");
        };
        B_TICKBOX.onClick = [this] { log.push_back("B_TICKBOX_Click " + std::to_string(B_TICKBOX.value())); };
        TICK_TIMER.onTimer = [this] { ticks.push_back(Form::services().loop.nowMs()); };
        OTHER_TIMER.onTimer = [this] {
            log.push_back("OTHER_TIMER_Timer");
            TICK_TIMER.setEnabled(false);
        };
    }

    CommandButton OK_BUTTON;
    CommandButton OTHER_BUTTON;
    TickBox A_TICKBOX;
    TickBox B_TICKBOX;
    TextBox NAME_TEXTBOX;
    Timer TICK_TIMER;
    Timer OTHER_TIMER;
    std::vector<std::string> log;
    std::vector<std::int64_t> ticks;
};

class ToolkitContract : public ::testing::Test {
protected:
    ToolkitContract() : console([this] { return loop.nowMs(); }), form(services)
    {
        loop.reports().writeLine = [this](const std::string& line) { lines.push_back(line); };
        form.load();
        form.show();
    }

    HeadlessEventLoop loop;
    MemoryStore store;
    HeadlessConsole console;
    NullViewFactory views;
    Services services{loop, store, console, views, [] { return std::string("sample"); }};
    SampleForm form;
    std::vector<std::string> lines;
};

TEST_F(ToolkitContract, AssigningANewValueRaisesClickNestedInTheAssignment)
{
    form.A_TICKBOX.setValue(1);
    EXPECT_EQ(form.log, (std::vector<std::string>{"A_TICKBOX_Click 1", "B_TICKBOX_Click 1", "A_TICKBOX_Click end"}));
}

TEST_F(ToolkitContract, TheSameValueOrADisabledTickboxRaisesNothing)
{
    form.B_TICKBOX.setValue(0);
    form.B_TICKBOX.setEnabled(false);
    form.B_TICKBOX.setValue(1);
    EXPECT_EQ(form.B_TICKBOX.value(), 1) << "a disabled tickbox still takes the value";
    EXPECT_FALSE(form.click(form.B_TICKBOX));
    EXPECT_TRUE(form.log.empty());
}

TEST_F(ToolkitContract, AUserClickTogglesTheTickThenRaisesClick)
{
    EXPECT_TRUE(form.click(form.B_TICKBOX));
    EXPECT_TRUE(form.click(form.B_TICKBOX));
    EXPECT_EQ(form.log, (std::vector<std::string>{"B_TICKBOX_Click 1", "B_TICKBOX_Click 0"}));
}

TEST_F(ToolkitContract, ADisabledOrHiddenButtonRaisesNothing)
{
    form.OTHER_BUTTON.setEnabled(false);
    EXPECT_FALSE(form.click(form.OTHER_BUTTON));
    form.OTHER_BUTTON.setEnabled(true);
    form.OTHER_BUTTON.setVisible(false);
    EXPECT_FALSE(form.click(form.OTHER_BUTTON));
    EXPECT_TRUE(form.log.empty());
}

TEST(DisplayCaption, DoubledAmpersandShowsAsOneAndALoneOneMarksAnAccessKey)
{
    EXPECT_EQ(displayCaption("Settings && Messages"), "Settings & Messages");
    EXPECT_EQ(displayCaption("&Exit"), "Exit");
    EXPECT_EQ(displayCaption("a &&& b"), "a & b");
    EXPECT_EQ(displayCaption("trailing &"), "trailing ");
}

TEST_F(ToolkitContract, EnterPressesTheFocusedButtonElseTheDefaultButton)
{
    EXPECT_EQ(form.focused(), &form.OK_BUTTON) << "first show focuses the first control in tab order";
    form.focusMovedTo(form.OTHER_BUTTON);
    form.pressEnter();
    form.focusMovedTo(form.NAME_TEXTBOX);
    form.pressEnter();
    form.focusMovedTo(form.A_TICKBOX);
    form.pressEnter();
    EXPECT_EQ(form.log, (std::vector<std::string>{"OTHER_BUTTON_Click", "OK_BUTTON_Click", "OK_BUTTON_Click"}));
}

TEST_F(ToolkitContract, DisablingTheFocusedControlMovesTheFocusOn)
{
    form.OK_BUTTON.setEnabled(false);
    EXPECT_EQ(form.focused(), &form.OTHER_BUTTON);
    form.OK_BUTTON.setEnabled(true);
    form.pressEnter();
    EXPECT_EQ(form.log, (std::vector<std::string>{"OTHER_BUTTON_Click"}))
        << "Enter goes to the focused button, not the default one";
}

TEST_F(ToolkitContract, AnInvisibleTextBoxKeepsItsText)
{
    form.NAME_TEXTBOX.setVisible(false);
    form.NAME_TEXTBOX.setText("still here");
    EXPECT_EQ(form.NAME_TEXTBOX.text(), "still here");
    EXPECT_FALSE(form.typeText(form.NAME_TEXTBOX, "typed")) << "the user cannot type into a hidden box";
}

TEST_F(ToolkitContract, ATimerFiresOncePerIntervalFromItsEnablingWithoutDrift)
{
    loop.advanceMs(250);
    form.TICK_TIMER.setInterval(1000);
    form.TICK_TIMER.setEnabled(true);
    loop.advanceMs(3999);
    EXPECT_EQ(form.ticks, (std::vector<std::int64_t>{1250, 2250, 3250}));
    form.TICK_TIMER.setEnabled(false);
    loop.advanceMs(5000);
    EXPECT_EQ(form.ticks.size(), 3u);
}

TEST_F(ToolkitContract, IntervalZeroNeverFires)
{
    form.TICK_TIMER.setEnabled(true);
    loop.advanceMs(100000);
    EXPECT_TRUE(form.ticks.empty());
}

TEST_F(ToolkitContract, DisablingStopsATickThatIsAlreadyDue)
{
    form.OTHER_TIMER.setInterval(1000);
    form.TICK_TIMER.setInterval(1000);
    form.OTHER_TIMER.setEnabled(true);
    form.TICK_TIMER.setEnabled(true);
    loop.advanceMs(1000);
    EXPECT_EQ(form.log, (std::vector<std::string>{"OTHER_TIMER_Timer"}));
    EXPECT_TRUE(form.ticks.empty()) << "TICK_TIMER was due at the same moment but disabled first";
}

TEST_F(ToolkitContract, AFailureEndsItsHandlerIsReportedAndTheProgramGoesOn)
{
    form.OTHER_BUTTON.onClick = [this] {
        form.log.push_back("before");
        throw ConsoleNotFound("no window titled 'X' was found");
    };
    EXPECT_TRUE(form.click(form.OTHER_BUTTON));
    EXPECT_EQ(form.log, (std::vector<std::string>{"before"}));
    ASSERT_TRUE(loop.reports().current());
    EXPECT_EQ(loop.reports().current()->message, "no window titled 'X' was found");
    EXPECT_EQ(lines, (std::vector<std::string>{"vt-haltward: no window titled 'X' was found"}));

    form.click(form.OK_BUTTON);
    EXPECT_TRUE(loop.reports().current()) << "another step's success does not clear the report";
    form.OTHER_BUTTON.onClick = [] {};
    form.click(form.OTHER_BUTTON);
    EXPECT_FALSE(loop.reports().current()) << "the same step succeeding clears it";
}

// Out of memory or a library's exception is no reason to abort: the handler
// ends, the failure is reported, and later events still run.
TEST_F(ToolkitContract, AnyExceptionFromAHandlerIsReportedNotFatal)
{
    form.OTHER_BUTTON.onClick = [] { throw std::bad_alloc(); };
    form.click(form.OTHER_BUTTON);
    ASSERT_TRUE(loop.reports().current());
    EXPECT_NE(loop.reports().current()->message.find("out of memory"), std::string::npos);

    form.OTHER_BUTTON.onClick = [] { throw std::length_error("basic_string::_M_create"); };
    form.click(form.OTHER_BUTTON);
    EXPECT_NE(loop.reports().current()->message.find("basic_string::_M_create"), std::string::npos);

    form.TICK_TIMER.setInterval(1000);
    form.TICK_TIMER.setEnabled(true);
    loop.advanceMs(1000);
    EXPECT_EQ(form.ticks.size(), 1u) << "the program went on";
}

TEST_F(ToolkitContract, AModalDialogBlocksItsOwnerWhileEveryTimerKeepsFiring)
{
    form.TICK_TIMER.setInterval(1000);
    form.TICK_TIMER.setEnabled(true);
    SampleForm dialog(services);
    bool ownerTookInput = true;
    loop.onNextModal([&](Form& shown) {
        EXPECT_EQ(&shown, &dialog);
        ownerTookInput = form.click(form.OK_BUTTON) || form.close();
        loop.advanceMs(3000);
        shown.close();
    });
    dialog.showModal(form);
    EXPECT_FALSE(ownerTookInput);
    EXPECT_EQ(form.ticks.size(), 3u);
    EXPECT_TRUE(dialog.isUnloaded());
    EXPECT_TRUE(form.acceptsInput());
}

// News of a watched step is shown as a failure is, the newest replacing the
// last, and goes only when newer news or a failure replaces it.
TEST_F(ToolkitContract, NewsReplacesTheLastReportAndNoStepsSuccessClearsIt)
{
    std::vector<std::string> written;
    loop.reports().writeNews = [&](const std::string& line, bool good) {
        written.push_back((good ? "good " : "bad ") + line);
    };
    loop.reports().failed("STEP", "no window titled 'X' was found");
    loop.reports().news("NEWS", "CONFIRMED the server stopped 1.0 s after stop", true);
    ASSERT_TRUE(loop.reports().current());
    EXPECT_EQ(loop.reports().current()->kind, Report::Kind::GoodNews);
    EXPECT_FALSE(loop.reports().current()->alarming());
    loop.reports().succeeded("STEP");
    loop.reports().succeeded("NEWS");
    ASSERT_TRUE(loop.reports().current()) << "news stays until something newer comes";
    loop.reports().news("NEWS", "NOT STOPPED the server did not stop within 5 minutes after stop", false);
    EXPECT_TRUE(loop.reports().current()->alarming());
    EXPECT_EQ(written,
              (std::vector<std::string>{"good CONFIRMED the server stopped 1.0 s after stop",
                                        "bad NOT STOPPED the server did not stop within 5 minutes after stop"}));
    EXPECT_EQ(loop.reports().history().size(), 3u);
    EXPECT_EQ(lines, std::vector<std::string>{"vt-haltward: no window titled 'X' was found"}) << "news is no failure";
}

} // namespace
} // namespace vt
