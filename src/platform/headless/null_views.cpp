#include "platform/headless/null_views.h"

namespace vt {

std::unique_ptr<FormView> NullViewFactory::createView(Form&, Form*)
{
    return nullptr;
}

} // namespace vt
