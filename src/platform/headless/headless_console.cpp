#include "platform/headless/headless_console.h"

#include <stdexcept>
#include <utility>

#include "platform/failures.h"

namespace vt::headless {

// Types into the one window its activation found, and nowhere else: one
// check, then the whole step, as a sender that holds the display does. The
// window that had the focus before the activation gets it back at the end.
class HeadlessConsole::Watch : public StepWatch {
public:
    explicit Watch(std::shared_ptr<WatchRecord> record) : record_(std::move(record)) {}
    ~Watch() override { record_->live = false; }

private:
    std::shared_ptr<WatchRecord> record_;
};

class HeadlessConsole::Sender : public KeySender {
public:
    Sender(HeadlessConsole& console, WindowId window, std::string title, WindowId previousFocus)
        : console_(console), window_(window), title_(std::move(title)), previousFocus_(previousFocus)
    {
    }

    ~Sender() override
    {
        if (console_.focused_ == window_ && (previousFocus_ == 0 || console_.isOpen(previousFocus_)))
            console_.focused_ = previousFocus_;
    }

    ConsoleSight sight() const override { return console_.sight_; }

    std::unique_ptr<StepWatch> watch(const StepExpectation& expected, SightingSink sink) override
    {
        if (!console_.watchFailure_.empty())
            throw KeySenderFailed(console_.watchFailure_);
        auto record = std::make_shared<WatchRecord>(WatchRecord{expected, std::move(sink)});
        console_.watches_.push_back(record);
        return std::make_unique<Watch>(record);
    }

protected:
    void typeStep(const std::vector<KeyChunk>& step) override
    {
        console_.checkReady(window_, title_);
        const std::size_t keys = keysOfStep(step).size();
        if (console_.stepKeyLimit_ != 0 && keys > console_.stepKeyLimit_)
            throw UndeliverableStep("this step of " + std::to_string(keys) + " keys is too long for '" + title_ +
                                    "'; nothing of it was typed");
        if (console_.typing_)
            console_.typing_();
        for (const KeyChunk& chunk : step) {
            console_.record(
                {console_.clockMs_(), window_, console_.windows_.at(window_).title, describe(chunk.keys), chunk.wait});
        }
        if (console_.checking_)
            console_.checking_();
        if (console_.loseTrackOfNextStep_) {
            console_.loseTrackOfNextStep_ = false;
            throw DeliveryUnknown("the sender for '" + title_ + "' ended after it had the keys; they may have arrived");
        }
    }

private:
    HeadlessConsole& console_;
    WindowId window_;
    std::string title_;
    WindowId previousFocus_;
};

HeadlessConsole::HeadlessConsole(std::function<std::int64_t()> clockMs) : clockMs_(std::move(clockMs)) {}

WindowId HeadlessConsole::openWindow(std::string title, bool showsCommand)
{
    const WindowId id = nextId_++;
    windows_[id] = Window{std::move(title), showsCommand, clockMs_(), false};
    return id;
}

void HeadlessConsole::openWindowAt(std::int64_t atMs, std::string title)
{
    windows_[nextId_++] = Window{std::move(title), false, atMs, false};
}

void HeadlessConsole::closeWindow(WindowId id)
{
    existing(id).closed = true;
    if (focused_ == id)
        focused_ = 0;
}

void HeadlessConsole::setTitle(WindowId id, std::string title)
{
    existing(id).title = std::move(title);
}

WindowId HeadlessConsole::focusedWindow() const
{
    return focused_;
}

void HeadlessConsole::focus(WindowId id)
{
    if (id != 0 && !isOpen(id))
        throw std::logic_error("focus: window " + std::to_string(id) + " is not open");
    focused_ = id;
}

void HeadlessConsole::stealFocusAfterActivation(WindowId thief)
{
    focusThief_ = thief;
}

void HeadlessConsole::failSenderCreation(bool fail)
{
    failSenderCreation_ = fail;
}

void HeadlessConsole::grabKeyboard(bool grabbed)
{
    keyboardGrabbed_ = grabbed;
}

void HeadlessConsole::loseTrackOfNextStep()
{
    loseTrackOfNextStep_ = true;
}

void HeadlessConsole::limitStepKeys(std::size_t keys)
{
    stepKeyLimit_ = keys;
}

void HeadlessConsole::whileTyping(std::function<void()> typing)
{
    typing_ = std::move(typing);
}

void HeadlessConsole::afterTyping(std::function<void()> checking)
{
    checking_ = std::move(checking);
}

int HeadlessConsole::activations() const
{
    return activations_;
}

const std::vector<TypedKeys>& HeadlessConsole::transcript() const
{
    return transcript_;
}

std::string HeadlessConsole::typedInto(WindowId id) const
{
    std::string keys;
    for (const TypedKeys& entry : transcript_) {
        if (entry.window == id)
            keys += entry.keys;
    }
    return keys;
}

std::vector<std::string> HeadlessConsole::linesTypedInto(WindowId id) const
{
    static const std::string enter = "{ENTER}";
    const std::string keys = typedInto(id);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = keys.find(enter); end != std::string::npos; end = keys.find(enter, start)) {
        lines.push_back(keys.substr(start, end - start));
        start = end + enter.size();
    }
    return lines;
}

std::unique_ptr<KeySender> HeadlessConsole::activate(const std::string& title)
{
    std::vector<WindowId> open;
    for (const auto& [id, window] : windows_) {
        if (isOpen(id))
            open.push_back(id);
    }
    const WindowId found = chooseConsole(open, title, [this](WindowId id) {
        return ConsoleTitle{windows_.at(id).title, windows_.at(id).showsCommand};
    });
    const WindowId previousFocus = focused_;
    focused_ = found;
    if (failSenderCreation_) {
        throw KeySenderFailed("the keystroke sender for the console window '" + title + "' could not be created");
    }
    ++activations_;
    if (focusThief_) {
        focused_ = *focusThief_;
        focusThief_.reset();
    }
    return std::make_unique<Sender>(*this, found, title, previousFocus);
}

bool HeadlessConsole::isOpen(WindowId id) const
{
    const auto it = windows_.find(id);
    return it != windows_.end() && !it->second.closed && clockMs_() >= it->second.appearsAtMs;
}

HeadlessConsole::Window& HeadlessConsole::existing(WindowId id)
{
    const auto it = windows_.find(id);
    if (it == windows_.end())
        throw std::logic_error("no simulated window " + std::to_string(id));
    return it->second;
}

void HeadlessConsole::checkReady(WindowId window, const std::string& consoleTitle) const
{
    if (!isOpen(window))
        throw ConsoleNotFound("the console window '" + consoleTitle + "' has closed; nothing was typed");
    if (keyboardGrabbed_)
        throw KeySenderFailed("another program holds the keyboard; nothing was typed into '" + consoleTitle + "'");
    if (focused_ != window)
        throw FocusLost("focus left the console window '" + consoleTitle + "'; nothing was typed");
}

void HeadlessConsole::record(TypedKeys entry)
{
    transcript_.push_back(std::move(entry));
}

void HeadlessConsole::setSight(ConsoleSight sight)
{
    sight_ = std::move(sight);
}

void HeadlessConsole::failWatches(std::string why)
{
    watchFailure_ = std::move(why);
}

bool HeadlessConsole::sighted(StepExpectation::Kind kind, ConsoleSighting sighting, const std::string& answer)
{
    for (const auto& record : watches_) {
        if (record->live && record->expected.kind == kind && (answer.empty() || record->expected.answer == answer)) {
            record->sink(sighting);
            return true;
        }
    }
    return false;
}

std::vector<StepExpectation> HeadlessConsole::watchedExpectations() const
{
    std::vector<StepExpectation> expectations;
    for (const auto& record : watches_)
        expectations.push_back(record->expected);
    return expectations;
}

std::size_t HeadlessConsole::liveWatches() const
{
    std::size_t live = 0;
    for (const auto& record : watches_)
        live += record->live ? 1 : 0;
    return live;
}

} // namespace vt::headless
