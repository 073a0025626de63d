#pragma once

#include <chrono>
#include <functional>
#include <thread>
#include <utility>

#include "platform/ui/event_loop.h"

namespace vt::testing {

// Posts task to the loop from a thread of its own, a little after the loop
// has gone to sleep, as a link's thread reports what it saw; and tells which
// thread the task ran on.
class PostFromAnotherThread {
public:
    PostFromAnotherThread(EventLoop& loop, std::function<void()> task)
        : poster_([this, &loop, task = std::move(task)] {
              std::this_thread::sleep_for(std::chrono::milliseconds(50));
              loop.post("posted", [this, task] {
                  ranOn_ = std::this_thread::get_id();
                  task();
              });
          })
    {
    }
    ~PostFromAnotherThread() { poster_.join(); }
    PostFromAnotherThread(const PostFromAnotherThread&) = delete;
    PostFromAnotherThread& operator=(const PostFromAnotherThread&) = delete;

    bool ranOnThisThread() const { return ranOn_ == std::this_thread::get_id(); }

private:
    std::thread::id ranOn_;
    std::thread poster_;
};

} // namespace vt::testing
