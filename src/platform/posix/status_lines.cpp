#include "platform/posix/status_lines.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace vt::posix {

namespace {

class StatusLinesView : public FormView {
public:
    StatusLinesView(Form& form, const std::vector<std::string>& labelNames, StatusLinesViewFactory::WriteLine& write)
        : labelNames_(labelNames), write_(write)
    {
        // A caption set while loading (an armed start) comes before the view.
        for (const Control* control : form.controls())
            controlChanged(*control);
    }

    void controlChanged(const Control& control) override
    {
        const auto* label = dynamic_cast<const Label*>(&control);
        if (!label || std::find(labelNames_.begin(), labelNames_.end(), label->name()) == labelNames_.end())
            return;
        std::string& last = shown_[label->name()];
        if (last == label->caption())
            return;
        last = label->caption();
        write_("STATUS " + last);
    }
    void formChanged() override {}
    void focusChanged() override {}
    void inputBlockedChanged() override {}

private:
    const std::vector<std::string>& labelNames_;
    StatusLinesViewFactory::WriteLine& write_;
    std::map<std::string, std::string> shown_;
};

} // namespace

std::string timestampedLine(std::time_t when, const std::string& text)
{
    std::tm local{};
    ::localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &local);
    return stamp + text;
}

StampedLineWriter::StampedLineWriter(std::FILE* stream, std::function<void()> onLost)
    : stream_(stream), onLost_(std::move(onLost))
{
}

void StampedLineWriter::operator()(const std::string& text)
{
    if (lost_)
        return;
    const std::string line = timestampedLine(std::time(nullptr), text) + "\n";
    if (std::fputs(line.c_str(), stream_) >= 0 && std::fflush(stream_) == 0)
        return;
    lost_ = true;
    if (onLost_)
        onLost_();
}

StatusLinesViewFactory::StatusLinesViewFactory(std::vector<std::string> labelNames, WriteLine writeLine)
    : labelNames_(std::move(labelNames)), writeLine_(std::move(writeLine))
{
}

std::unique_ptr<FormView> StatusLinesViewFactory::createView(Form& form, Form* owner)
{
    if (owner)
        return nullptr;
    return std::make_unique<StatusLinesView>(form, labelNames_, writeLine_);
}

} // namespace vt::posix
