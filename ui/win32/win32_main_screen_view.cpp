#include "ui/win32/win32_main_screen_view.h"

#include <commctrl.h>

#include <utility>

#include "core/caller_line_display.h"
#include "core/receiving_status.h"
#include "platform/win32/phone/phone_control_source.h"
#include "ui/main_screen_layout.h"
#include "ui/main_screen_routes.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/crossed_phone_box.h"
#include "ui/win32/label_text_width.h"
#include "ui/win32/menu_bar.h"
#include "ui/win32/phone_control_host.h"
#include "ui/win32/program_icon.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

namespace kw::winui {

namespace layout = ui::main_screen;

namespace {

// Sizable with a minimize box; a maximized window would only stretch empty space.
constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    // Shared icons from the resources: the system keeps them for the class.
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, 16, 16, LR_SHARED));
    RegisterClassExW(&windowClass);  // fails harmlessly when the class exists already
}

}  // namespace

Win32MainScreenView::Win32MainScreenView(HINSTANCE instance)
    : instance_(instance), accelerators_(layout::kMenus) {
    RegisterWindowClass(instance, &Win32MainScreenView::procedure);
    // Hidden at first: the load sequence places the window before anyone sees it. The outer
    // corner sits at the screen's top left and nothing moves the window afterwards.
    window_ = CreateWindowExW(kExStyle, kMainWindowClass, L"", kStyle, layout::kWindow.screenLeft,
                              layout::kWindow.screenTop, 400, 120, nullptr,
                              CreateMenuBar(layout::kMenus), instance, this);
    if (window_ == nullptr) {
        return;
    }
    dpi_ = WindowDpi(window_);
    sizeToClientArea();
    tooltips_ = std::make_unique<Tooltips>(window_);
    createControls();
}

Win32MainScreenView::~Win32MainScreenView() {
    // The phone control goes first, while its box still exists; then the window, its controls
    // and its menu, and only then the fonts they used.
    phone_.reset();
    tooltips_.reset();
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Win32MainScreenView::sizeToClientArea() {
    const SIZE client =
        ClientTwipsToPixels(layout::kWindow.clientWidth, layout::kWindow.clientHeight, dpi_);
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&frame, kStyle, TRUE, kExStyle, static_cast<UINT>(dpi_));
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps takes more than one line; the client area keeps its height.
    RECT actual{};
    GetClientRect(window_, &actual);
    if (actual.bottom < client.cy) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                     frame.bottom - frame.top + client.cy - actual.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32MainScreenView::createControls() {
    // The caller line shows caller data: a "&" in it is a character, not an access key.
    constexpr std::string_view kCallerData[] = {"LBL_Anrufer"};
    controls_.emplace(window_, layout::kControls, fonts_, dpi_, kCallerData);
    for (const LayoutControls::Control& control : controls_->controls()) {
        const ui::ControlLayout& entry = *control.layout;
        if (entry.kind == ui::ControlKind::PhoneControl) {
            phone_ = std::make_unique<PhoneControlHost>(
                window_, entry.id, controls_->pixels(entry, dpi_), win32::kPhoneProgId);
            tooltips_->add(phone_->window(), kNotYetReceiving);
        } else if (!entry.tooltip.empty()) {
            tooltips_->add(control.window, entry.tooltip);
        }
    }
}

void Win32MainScreenView::placeControls() {
    controls_->place(dpi_);
    if (phone_) {
        if (const ui::ControlLayout* entry = controls_->layout("axPhoner1")) {
            phone_->move(controls_->pixels(*entry, dpi_));
        }
    }
}

HWND Win32MainScreenView::control(std::string_view name) const {
    return controls_ ? controls_->get(name) : nullptr;
}

void Win32MainScreenView::connectTo(ui::MainScreen& presenter) {
    presenter_ = &presenter;
}

void Win32MainScreenView::connectPhone(win32::PhoneControlSource& source) {
    if (phone_) {
        phone_->handTo(source);
    }
}

void Win32MainScreenView::disconnectPhone() noexcept {
    if (phone_) {
        phone_->takeBack();
    }
}

void Win32MainScreenView::showAsLoaded() {
    // Start mode 1 has shown it minimized and 2 restored; 3 only set the keep-on-top band.
    if (window_ != nullptr && !IsWindowVisible(window_)) {
        ShowWindow(window_, SW_SHOWNORMAL);
    }
    if (window_ != nullptr) {
        UpdateWindow(window_);
    }
}

int Win32MainScreenView::runMessageLoop() {
    MSG message{};
    while (true) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 1;
        }
        // The shortcuts work wherever the focus is in the main window; Tab moves between its
        // buttons as in a dialog.
        if (window_ != nullptr &&
            (TranslateAcceleratorW(window_, accelerators_.get(), &message) != 0 ||
             IsDialogMessageW(window_, &message) != 0)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (ended_) {
            return 0;
        }
    }
}

void Win32MainScreenView::setCallerLine(std::string_view text) {
    shownNumbers_.reset();
    SetWindowTextUtf8(control("LBL_Anrufer"), text);
    if (tooltips_) {
        tooltips_->setText(control("LBL_Anrufer"), layout::kCallerLineTooltip);
    }
}

void Win32MainScreenView::showCallerLine(std::string_view callerNumber,
                                         std::string_view calledNumber,
                                         std::string_view callerName) {
    shownName_ = callerName;
    shownNumbers_.emplace(callerNumber, calledNumber);
    fitCallerLine();
}

void Win32MainScreenView::fitCallerLine() {
    if (!shownNumbers_) {
        return;
    }
    HWND label = control("LBL_Anrufer");
    const LabelTextWidth width(label);
    // A blank's room, so that a shortened line does not touch the border.
    const CallerLineDisplay display = FitCallerLine(
        shownNumbers_->first, shownNumbers_->second, width.available() - width(" "),
        [&width](std::string_view text) { return width(text); }, shownName_);
    SetWindowTextUtf8(label, display.shown);
    // The whole line above the usual hint, so nothing of a shortened number is out of reach.
    std::string tip(layout::kCallerLineTooltip);
    if (display.shortened()) {
        tip = display.whole + "\r\n" + tip;
    }
    if (tooltips_) {
        tooltips_->setText(label, tip);
    }
}

void Win32MainScreenView::setActionEnabled(bool enabled) {
    EnableWindow(control("BTN_Db"), enabled ? TRUE : FALSE);
}

void Win32MainScreenView::setCaption(std::string_view text) {
    SetWindowTextUtf8(window_, text);
}

void Win32MainScreenView::setActionCaption(std::string_view text) {
    SetWindowTextUtf8(control("BTN_Db"), text);
}

void Win32MainScreenView::showMissedCalls(int count) {
    SetWindowTextUtf8(control("LBL_Verpasst"), ui::MissedCallsText(count));
}

void Win32MainScreenView::endProgram() {
    // The message loop ends before any further message is handled, and a call that the phone
    // reports in the meantime is no longer shown.
    ended_ = true;
    PostQuitMessage(0);
}

void Win32MainScreenView::showCallSources(const std::vector<platform::CallSourceStatus>& statuses) {
    if (!phone_) {
        return;
    }
    if (tooltips_) {
        tooltips_->setText(phone_->window(), ui::CallSourcesTooltip(statuses, "\r\n"));
    }
    if (!phone_->hosted()) {
        CrossedPhoneBox::SetReceiving(phone_->window(), ui::AnyReceiving(statuses));
    }
}

LRESULT CALLBACK Win32MainScreenView::procedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        reinterpret_cast<Win32MainScreenView*>(create->lpCreateParams)->window_ = window;
    }
    auto* view = reinterpret_cast<Win32MainScreenView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (view == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->handle(message, wParam, lParam);
}

LRESULT Win32MainScreenView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            placeControls();
            fitCallerLine();  // the label's new size and font give the numbers another width
            return 0;
        }
        case WM_DESTROY:
            // Closed through the frame: the phone control goes while its box still exists.
            phone_.reset();
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            HWND destroyed = std::exchange(window_, nullptr);
            return DefWindowProcW(destroyed, message, wParam, lParam);
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Win32MainScreenView::command(int id, int code) {
    if (presenter_ == nullptr || ended_) {
        return;
    }
    // Menu entries and their shortcuts come with code 0 or 1; controls with their notification.
    for (const ui::MainScreenRoute& route : ui::kMainScreenRoutes) {
        if (route.id != id) {
            continue;
        }
        bool fires = false;
        switch (route.trigger) {
            case ui::RouteTrigger::Click:
                fires = code == BN_CLICKED;
                break;
            case ui::RouteTrigger::DoubleClick:
                fires = code == STN_DBLCLK;
                break;
            case ui::RouteTrigger::Menu:
                fires = code == 0 || code == 1;
                break;
        }
        if (fires) {
            (presenter_->*route.handler)();
        }
        return;
    }
}

}  // namespace kw::winui
