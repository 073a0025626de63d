#pragma once

#include "platform/ui/view.h"

namespace vt::win32 {

class Win32ViewFactory : public ViewFactory {
public:
    std::unique_ptr<FormView> createView(Form& form, Form* owner) override;
};

} // namespace vt::win32
