#include "platform/headless/null_views.h"

namespace vt::headless {

std::unique_ptr<FormView> NullViewFactory::createView(Form&, Form*)
{
    return nullptr;
}

} // namespace vt::headless
