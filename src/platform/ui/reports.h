#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vt {

// What the operator is told: the step (handler) it came from and what to do
// about it. Most are failures; what became of a step the program watched
// (the server answered, stopped, or did not) is news, good or bad.
struct Report {
    enum class Kind { Failure, BadNews, GoodNews };
    std::string step;
    std::string message;
    Kind kind = Kind::Failure;
    // Shown in red: a failure or bad news.
    bool alarming() const { return kind != Kind::GoodNews; }
};

// The failures of handlers and the news of watched steps, shown in the main
// window without blocking it. The newest replaces the last; a failure clears
// when its step later succeeds. Each failure is also written as one line to
// standard error; each piece of news as one line through writeNews.
class Reports {
public:
    void failed(const std::string& step, const std::string& message);
    void succeeded(const std::string& step);
    // message leads with a word that says what became of the step
    // ("CONFIRMED the server stopped 8.4 s after stop").
    void news(const std::string& step, const std::string& message, bool good);
    const std::optional<Report>& current() const { return current_; }
    // Every report so far, oldest first.
    const std::vector<Report>& history() const { return history_; }

    // Where the line goes; standard error unless a test redirects it.
    std::function<void(const std::string& line)> writeLine;
    // Where a piece of news goes; standard error unless set.
    std::function<void(const std::string& line, bool good)> writeNews;
    // Called after current() changed; the main window's view listens.
    std::function<void()> onChange;

private:
    std::optional<Report> current_;
    std::vector<Report> history_;
};

} // namespace vt
