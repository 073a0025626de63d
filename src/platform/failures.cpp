#include "platform/failures.h"

#include <new>

namespace vt {

NotationError::NotationError(std::size_t position, std::string token, const std::string& why)
    : Failure(why), position_(position), token_(std::move(token))
{
}

std::string describeUnexpected(const std::exception& error)
{
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return "out of memory; the step was abandoned";
    return std::string("unexpected failure: ") + error.what() + "; the step was abandoned";
}

} // namespace vt
