#pragma once

#include "platform/ui/view.h"

namespace vt::headless {

// No windows at all: the model alone is the program, as under test.
class NullViewFactory : public ViewFactory {
public:
    std::unique_ptr<FormView> createView(Form& form, Form* owner) override;
};

} // namespace vt::headless
