#include "platform/win32/ui/win32_form_view.h"

#include <algorithm>
#include <vector>

#include "platform/failures.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/window_fit.h"
#include "platform/win32/ui/form_messages.h"
#include "platform/win32/wide_text.h"

namespace vt::win32 {

namespace {

const wchar_t* const kFormClass = L"VT_HALTWARD_FORM";
constexpr int kFirstControlId = 100; // clear of IDOK and IDCANCEL, which IsDialogMessage sends
constexpr int kIconResource = 1;
// Good news is told in the strip too, in a colour that does not alarm.
constexpr Color kGoodNews{72, 72, 72};
ATOM formClassAtom = 0;

void registerFormClass(WNDPROC procedure)
{
    if (formClassAtom)
        return;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFormClass;
    formClassAtom = RegisterClassExW(&windowClass);
}

double screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return logicalDpi(dpi);
}

// Fixed single border; only the main window may be minimised.
DWORD windowStyle(const Form& form)
{
    // No WS_CLIPCHILDREN: a frame draws no background of its own, the window does.
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | (form.style().minimizeBox ? WS_MINIMIZEBOX : 0);
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<PixelBox>*>(areas)->push_back(
            PixelBox{work.left, work.top, work.right - work.left, work.bottom - work.top});
    }
    return TRUE;
}

std::vector<PixelBox> monitorWorkAreas()
{
    std::vector<PixelBox> areas;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

Win32FormView* viewOf(HWND window)
{
    if (!window || !formClassAtom || GetClassLongPtrW(window, GCW_ATOM) != formClassAtom)
        return nullptr;
    return reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace

bool routeFormMessage(MSG& message)
{
    if (!message.hwnd)
        return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    Win32FormView* view = viewOf(root);
    if (!view)
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        view->pressEnter();
        return true;
    }
    return IsDialogMessageW(root, &message);
}

Win32FormView::Win32FormView(Form& form, Win32FormView* owner)
    : form_(form), ownerWindow_(owner ? owner->window() : nullptr), scale_(screenDpi()),
      gdi_(std::make_unique<GdiCache>(static_cast<int>(scale_.dpi())))
{
    registerFormClass(windowProc);
    positioning_ = true;
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, toWide(form.caption()).c_str(), windowStyle(form),
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ownerWindow_, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!window_)
        throw Failure("could not create the window '" + form.caption() + "'");
    createControls();
    if (!owner) {
        const DWORD stripStyle = WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE;
        reportStrip_ = CreateWindowExW(0, L"STATIC", L"", stripStyle, 0, 0, 1, 1, window_, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(reportStrip_, WM_SETFONT, reinterpret_cast<WPARAM>(gdi_->font(8.25, true)), FALSE);
        form_.services().loop.reports().onChange = [this] { showReport(); };
    }
    applyPlacement();
    positioning_ = false;
    showReport();
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    focusModelControl();
}

Win32FormView::~Win32FormView()
{
    if (reportStrip_)
        form_.services().loop.reports().onChange = nullptr;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    // Enabled before this window goes, Windows hands the activation back to
    // the owner instead of to some other program.
    if (ownerWindow_)
        EnableWindow(ownerWindow_, TRUE);
    DestroyWindow(window_);
}

void Win32FormView::createControls()
{
    // Creation order is the order of Tab.
    std::vector<Control*> ordered = form_.tabOrder();
    for (Control* control : form_.controls())
        if (control->tabIndex() < 0)
            ordered.push_back(control);
    int id = kFirstControlId;
    updating_ = true;
    for (Control* control : ordered)
        controls_.push_back(createControlWindow(window_, *control, id++, scale_, *gdi_));
    updating_ = false;
    showDefaultButton();
}

// The form's placement, taller by what a failure strip below the controls
// needs. A position that would leave the title bar out of reach (a monitor
// since removed, an edit from outside) is replaced by the nearest one within
// reach, and the form takes that as the window's real position, which
// closing then stores.
void Win32FormView::applyPlacement()
{
    PixelBox box = scale_.windowBox(form_.placement());
    box.height = std::max(box.height, stripFit().clientHeight);
    RECT outer{0, 0, box.width, box.height};
    AdjustWindowRectEx(&outer, windowStyle(form_), FALSE, WS_EX_CONTROLPARENT);
    const int titleHeight = -outer.top;
    const PixelBox wanted{box.x, box.y, outer.right - outer.left, outer.bottom - outer.top};
    const std::vector<PixelBox> areas = monitorWorkAreas();
    const PixelBox placed = keepTitleBarReachable(wanted, titleHeight, areas);
    if (placed != wanted)
        form_.movedTo(scale_.twips(placed.x), scale_.twips(placed.y));
    const bool was = positioning_;
    positioning_ = true;
    SetWindowPos(window_, nullptr, placed.x, placed.y, placed.width, placed.height, SWP_NOZORDER | SWP_NOACTIVATE);
    positioning_ = was;
    layoutReportStrip();
}

void Win32FormView::controlChanged(const Control& control)
{
    if (const ControlWindow* native = nativeOf(control)) {
        updating_ = true;
        showControlState(*native);
        updating_ = false;
        if (control.kind() == ControlKind::CommandButton)
            showDefaultButton();
    }
}

void Win32FormView::formChanged()
{
    if (windowText(window_) != form_.caption())
        SetWindowTextW(window_, toWide(form_.caption()).c_str());
    applyPlacement();
}

void Win32FormView::focusChanged()
{
    // Only while this window is in front: taking the focus would otherwise
    // pull it away from the console the program has just typed into. The
    // focus is put back on the next activation.
    if (GetForegroundWindow() == window_)
        focusModelControl();
}

void Win32FormView::inputBlockedChanged()
{
    EnableWindow(window_, form_.acceptsInput());
}

void Win32FormView::pressEnter()
{
    form_.pressEnter();
}

void Win32FormView::focusModelControl()
{
    if (Control* focused = form_.focused())
        if (const ControlWindow* native = nativeOf(*focused))
            SetFocus(native->window);
    showDefaultButton();
}

// A focused button shows itself as the one Enter presses; otherwise the default button does.
void Win32FormView::showDefaultButton()
{
    const auto* focusedButton = dynamic_cast<const CommandButton*>(form_.focused());
    for (const ControlWindow& native : controls_) {
        const auto* button = dynamic_cast<const CommandButton*>(native.control);
        if (!button)
            continue;
        const bool looksDefault = focusedButton ? button == focusedButton : button->isDefault();
        SendMessageW(native.window, BM_SETSTYLE, looksDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

int Win32FormView::stripHeight() const
{
    return scale_.fontPixels(8.25) + 3;
}

// Where the failure strip goes and how high the client area is with it; the
// stored height when none shows.
StripFit Win32FormView::stripFit() const
{
    const int height = scale_.windowBox(form_.placement()).height;
    if (!reportStrip_ || !form_.services().loop.reports().current())
        return StripFit{height, height};
    return fitStripBelow(height, lowestShownControlBottom(form_, scale_), stripHeight());
}

void Win32FormView::layoutReportStrip()
{
    if (!reportStrip_)
        return;
    RECT client{};
    GetClientRect(window_, &client);
    SetWindowPos(reportStrip_, HWND_TOP, 0, stripFit().top, client.right, stripHeight(), SWP_NOACTIVATE);
}

// The newest report, in a line below the lowest control of the main window
// (red for a failure or bad news, grey for good news), which grows to make
// room for it when it has to and shrinks back when it goes; it never blocks
// and a failure goes when the step succeeds.
void Win32FormView::showReport()
{
    if (!reportStrip_)
        return;
    const auto& report = form_.services().loop.reports().current();
    if (report) {
        SetWindowTextW(reportStrip_, toWide(" " + report->message).c_str());
        InvalidateRect(reportStrip_, nullptr, TRUE); // its colour may change with the same text
    }
    applyPlacement();
    ShowWindow(reportStrip_, report ? SW_SHOWNA : SW_HIDE);
}

// Only a real move reaches the form: the system also sends WM_MOVE when it
// maps the window where the form put it, and 1000 twips read back from 67
// pixels would be 1005, creeping on at every start.
void Win32FormView::reportMove()
{
    RECT outer{};
    GetWindowRect(window_, &outer);
    if (outer.left == scale_.pixels(form_.left()) && outer.top == scale_.pixels(form_.top()))
        return;
    form_.movedTo(scale_.twips(outer.left), scale_.twips(outer.top));
}

const ControlWindow* Win32FormView::nativeOf(const Control& control) const
{
    for (const ControlWindow& native : controls_)
        if (native.control == &control)
            return &native;
    return nullptr;
}

const ControlWindow* Win32FormView::nativeOf(HWND child) const
{
    for (const ControlWindow& native : controls_)
        if (native.window == child)
            return &native;
    return nullptr;
}

LRESULT CALLBACK Win32FormView::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* view = static_cast<Win32FormView*>(create->lpCreateParams);
        view->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    if (auto* view = reinterpret_cast<Win32FormView*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        return view->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// Careful: a user action may unload the form, which destroys this view; after
// one, nothing here touches a member.
LRESULT Win32FormView::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        if (const LRESULT brush =
                colors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message == WM_CTLCOLOREDIT))
            return brush;
        break;
    case WM_CLOSE:
        form_.close();
        return 0;
    case WM_ENDSESSION:
        if (wParam && !ownerWindow_)
            form_.unload();
        return 0;
    case WM_MOVE:
        if (!positioning_ && !IsIconic(window_))
            reportMove();
        return 0;
    case WM_SIZE:
        layoutReportStrip();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            focusModelControl();
            return 0;
        }
        break;
    case DM_GETDEFID:
        for (const ControlWindow& native : controls_)
            if (const auto* button = dynamic_cast<const CommandButton*>(native.control); button && button->isDefault())
                return MAKELRESULT(native.id, DC_HASDEFID);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32FormView::command(int id, int code, HWND child)
{
    if (updating_ || id < kFirstControlId)
        return;
    const ControlWindow* native = nativeOf(child);
    if (!native)
        return;
    Control& control = *native->control;
    switch (control.kind()) {
    case ControlKind::CommandButton:
    case ControlKind::TickBox:
        if (code == BN_CLICKED) {
            form_.click(control);
            return;
        }
        if (code == BN_SETFOCUS) {
            form_.focusMovedTo(control);
            showDefaultButton();
        }
        return;
    case ControlKind::Label:
        if (code == STN_DBLCLK)
            form_.doubleClick(static_cast<Label&>(control));
        return;
    case ControlKind::TextBox:
        if (code == EN_SETFOCUS) {
            form_.focusMovedTo(control);
            showDefaultButton();
        } else if (code == EN_CHANGE && !form_.typeText(static_cast<TextBox&>(control), windowText(child))) {
            // The form took no input: show its text again.
            updating_ = true;
            showControlState(*native);
            updating_ = false;
        }
        return;
    default:
        return;
    }
}

LRESULT Win32FormView::colors(HDC dc, HWND child, bool edit)
{
    if (child == reportStrip_) {
        const auto& report = form_.services().loop.reports().current();
        const Color strip = !report || report->alarming() ? kRed : kGoodNews;
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, colorRef(strip));
        return reinterpret_cast<LRESULT>(gdi_->brush(strip));
    }
    for (const ControlWindow& native : controls_) {
        if (native.caption != child)
            continue;
        SetTextColor(dc, colorRef(static_cast<const Frame&>(*native.control).captionColor()));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    const ControlWindow* native = nativeOf(child);
    if (!native)
        return 0;
    const Look& look = native->control->look();
    if (!look.hasForeground && !look.hasBackground)
        return 0;
    if (look.hasForeground)
        SetTextColor(dc, colorRef(look.foreground));
    if (look.hasBackground) {
        SetBkColor(dc, colorRef(look.background));
        return reinterpret_cast<LRESULT>(gdi_->brush(look.background));
    }
    const int face = edit ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(face));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
}

} // namespace vt::win32
