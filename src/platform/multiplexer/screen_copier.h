#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/multiplexer/screen_watch.h"

namespace vt::multiplexer {

// Copies a screen window's text out through "hardcopy -h" into a folder only
// this user can enter, and reads it back once screen has closed the file.
class ScreenCopier {
public:
    ScreenCopier(std::string program, ScreenWindow window);
    ~ScreenCopier();
    ScreenCopier(const ScreenCopier&) = delete;
    ScreenCopier& operator=(const ScreenCopier&) = delete;

    // The window's lines (screenLines), or nullopt when they could not be
    // copied (the window or screen gone, screen too slow) or wakeFd became
    // readable meanwhile.
    std::optional<std::vector<std::string>> lines(int wakeFd);

private:
    bool awaitCopy(const std::string& name, int wakeFd);

    std::string program_;
    ScreenWindow window_;
    std::string folder_;
    unsigned copies_ = 0; // numbers each copy's file
    int changes_ = -1;
    std::size_t width_ = 0;
};

} // namespace vt::multiplexer
