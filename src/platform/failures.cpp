#include "platform/failures.h"

namespace vt {

NotationError::NotationError(std::size_t position, std::string token, const std::string& why)
    : Failure(why), position_(position), token_(std::move(token))
{
}

} // namespace vt
