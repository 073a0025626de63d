#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/link/console_link.h"

namespace vt {

// One of the ways the platform reaches a console, with the prefix that
// restricts a lookup to it ("tmux", "x11", "window", ...). notFoundAdvice,
// when not empty, follows the link's own report that the console is not
// there: what the entry file knows about why it may never be found (on a
// Wayland desktop, a native terminal has no X11 window).
struct NamedLink {
    std::string prefix;
    ConsoleLink& link;
    std::string notFoundAdvice = {};
};

// The console link the program uses: one name, looked up in every link the
// platform has, in the order given (links that type without the focus first,
// since they reach the same console more safely). "prefix:name" looks in that
// link alone. The first link that finds the name wins; an ambiguous name in
// any link fails at once, before a later link is asked, and so does a console
// found with no server reading it or with its server paused.
class ConsoleLinks : public ConsoleLink {
public:
    explicit ConsoleLinks(std::vector<NamedLink> links);

    std::unique_ptr<KeySender> activate(const std::string& name) override;

private:
    std::unique_ptr<KeySender> activateIn(const std::vector<const NamedLink*>& links, const std::string& name);

    std::vector<NamedLink> links_;
};

} // namespace vt
