#include "platform/ui/reports.h"

// stdio, not iostream: the Windows program is static, and iostream alone
// would bring a third of its size.
#include <cstdio>

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
    else {
        std::fputs((line + "\n").c_str(), stderr);
        std::fflush(stderr);
    }
    if (onChange)
        onChange();
}

void Reports::news(const std::string& step, const std::string& message, bool good)
{
    current_ = Report{step, message, good ? Report::Kind::GoodNews : Report::Kind::BadNews};
    history_.push_back(*current_);
    if (writeNews)
        writeNews(message, good);
    else {
        std::fputs(("vt-haltward: " + message + "\n").c_str(), stderr);
        std::fflush(stderr);
    }
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
