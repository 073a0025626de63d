#include "platform/win32/ui/win32_view_factory.h"

#include "platform/ui/form.h"
#include "platform/win32/ui/win32_form_view.h"

namespace vt::win32 {

std::unique_ptr<FormView> Win32ViewFactory::createView(Form& form, Form* owner)
{
    auto* ownerView = owner ? dynamic_cast<Win32FormView*>(owner->view()) : nullptr;
    return std::make_unique<Win32FormView>(form, ownerView);
}

} // namespace vt::win32
