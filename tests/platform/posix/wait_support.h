#pragma once

#include <functional>

namespace vt::testing {

// Polls until the condition holds; false after a minute, far more than any
// loaded machine needs.
bool eventually(const std::function<bool()>& condition);

} // namespace vt::testing
