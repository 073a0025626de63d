#include "platform/ui/reports.h"

#include <iostream>

namespace vt {

void Reports::failed(const std::string& step, const std::string& message)
{
    // The same failure again (a retried step, every key of an unreadable
    // store) is already shown and written once.
    if (current_ && current_->step == step && current_->message == message)
        return;
    current_ = Report{step, message};
    history_.push_back(*current_);
    const std::string line = "vt-haltward: " + message;
    if (writeLine)
        writeLine(line);
    else
        std::cerr << line << std::endl;
    if (onChange)
        onChange();
}

void Reports::succeeded(const std::string& step)
{
    if (!current_ || current_->step != step)
        return;
    current_.reset();
    if (onChange)
        onChange();
}

} // namespace vt
