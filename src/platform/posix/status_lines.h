#pragma once

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/view.h"

namespace vt::posix {

// "2026-12-07 04:00:10 " + text: a line for a log or the journal, in local time.
std::string timestampedLine(std::time_t when, const std::string& text);

// Writes each line time-stamped and at once: the output is usually a pipe to
// the journal or a log file. A stream that refuses a line (the program reading
// the pipe has ended) is never written again: that line and every later one
// are dropped, and onLost is called once. A log reader that goes away must not
// end the run it reports on.
class StampedLineWriter {
public:
    explicit StampedLineWriter(std::FILE* stream, std::function<void()> onLost = {});
    void operator()(const std::string& text);

private:
    std::FILE* stream_;
    std::function<void()> onLost_;
    bool lost_ = false;
};

// The views of the program without a display: no windows, but every change
// of the main window's chosen labels written as one line ("STATUS " and the
// caption), which is what an operator reading the log needs to follow a run.
class StatusLinesViewFactory : public ViewFactory {
public:
    using WriteLine = std::function<void(const std::string& line)>;
    StatusLinesViewFactory(std::vector<std::string> labelNames, WriteLine writeLine);

    std::unique_ptr<FormView> createView(Form& form, Form* owner) override;

private:
    std::vector<std::string> labelNames_;
    WriteLine writeLine_;
};

} // namespace vt::posix
