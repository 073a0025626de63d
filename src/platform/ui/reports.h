#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vt {

// A failure shown to the operator: the step (handler) it came from and what to do about it.
struct Report {
    std::string step;
    std::string message;
};

// The failures of handlers, shown in the main window without blocking it. The
// newest replaces the last; a report clears when its step later succeeds. Each
// failure is also written as one line to standard error.
class Reports {
public:
    void failed(const std::string& step, const std::string& message);
    void succeeded(const std::string& step);
    const std::optional<Report>& current() const { return current_; }
    // Every failure reported so far, oldest first.
    const std::vector<Report>& history() const { return history_; }

    // Where the line goes; standard error unless a test redirects it.
    std::function<void(const std::string& line)> writeLine;
    // Called after current() changed; the main window's view listens.
    std::function<void()> onChange;

private:
    std::optional<Report> current_;
    std::vector<Report> history_;
};

} // namespace vt
