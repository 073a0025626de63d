#include "platform/x11/x11_typing.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>

#include "platform/failures.h"
#include "platform/x11/x11_activation.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_guards.h"
#include "platform/x11/x11_windows.h"

namespace vt::x11 {

namespace {

// The terminal re-reads the keymap lazily, when it translates the next key;
// undoing a binding before it has caught up loses or swaps characters, and
// nothing tells when it is done. 200 ms held on a quiet machine but lost every
// bound character under a busy test run, so the binding is held far longer:
// the spare keycodes it occupies are on no physical key.
constexpr int bindingHoldMs = 5000;

void press(Display* display, unsigned keycode, bool down)
{
    XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
}

void typeStroke(Display* display, const Keymap& keymap, const KeyStroke& stroke)
{
    const auto modifiers = modifierKeycodesOf(keymap, stroke.modifiers);
    for (unsigned keycode : modifiers)
        press(display, keycode, true);
    press(display, stroke.keycode, true);
    press(display, stroke.keycode, false);
    std::for_each(modifiers.rbegin(), modifiers.rend(), [&](unsigned keycode) { press(display, keycode, false); });
}

} // namespace

X11KeySender::X11KeySender(Display* display, Window console, std::string title, std::shared_ptr<KeymapBinder> binder,
                           Later later, FocusBefore before, TerminalServer server)
    : display_(display), console_(console), title_(std::move(title)), binder_(std::move(binder)),
      later_(std::move(later)), before_(before), server_(std::move(server))
{
}

ConsoleSight X11KeySender::sight() const
{
    return {.readable = false, .serverWatched = server_.watched(), .unwatchedWhy = server_.unwatchedWhy};
}

std::unique_ptr<StepWatch> X11KeySender::watch(const StepExpectation& expected, SightingSink sink)
{
    // A server that ends during any step is worth telling.
    return watchServerEnd(server_, expected.kind, std::move(sink));
}

// The operator's next keys belong to the window they were typing in, not to
// the server: the focus goes back unless someone has moved it meanwhile.
X11KeySender::~X11KeySender()
{
    if (focusWithin(display_, console_))
        restoreFocus(display_, before_);
}

void X11KeySender::typeStep(const std::vector<KeyChunk>& step)
{
    const KeyActions keys = keysOfStep(step);
    const bool wait = stepWaits(step);
    if (!windowExists(display_, console_)) {
        throw ConsoleNotFound("the console window '" + title_ + "' has closed; nothing was typed");
    }
    auto prepared = binder_->prepare(keys);
    struct ReleaseOnExit {
        X11KeySender& sender;
        const std::vector<unsigned>& used;
        ~ReleaseOnExit() { sender.releaseLater(used); }
    } releaseOnExit{*this, prepared.used};

    typeGuarded(prepared.keymap, planStrokes(prepared.keymap, keys));
    if (wait) {
        XSync(display_, False);
    } else {
        XFlush(display_);
    }
}

// The server is held from the checks to the last key, so no other client can
// move the focus or take the keyboard in between: the step goes to the console
// or nowhere.
void X11KeySender::typeGuarded(const Keymap& keymap, const std::vector<KeyStroke>& strokes)
{
    ServerGrab grab(display_);
    requireKeysGoToConsole(display_, console_, title_);
    releaseHeldModifiers(display_);
    CapsLockReleased capsLock(display_);
    for (const auto& stroke : strokes)
        typeStroke(display_, keymap, stroke);
}

void X11KeySender::releaseLater(const std::vector<unsigned>& used)
{
    if (used.empty())
        return;
    std::weak_ptr<KeymapBinder> binder = binder_;
    later_(bindingHoldMs, [binder, used] {
        if (auto alive = binder.lock())
            alive->release(used);
    });
}

} // namespace vt::x11
