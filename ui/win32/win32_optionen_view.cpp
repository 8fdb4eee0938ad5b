#include "ui/win32/win32_optionen_view.h"

#include <array>

#include "platform/win32/wide_text.h"
#include "ui/optionen_layout.h"
#include "ui/optionen_routes.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

#include <commctrl.h>

namespace kw::winui {

namespace layout = ui::optionen;

namespace {

void SetStyleBit(HWND window, LONG_PTR bit, bool on) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR wanted = on ? (style | bit) : (style & ~bit);
    if (wanted != style) {
        SetWindowLongPtrW(window, GWL_STYLE, wanted);
    }
}

}  // namespace

Win32OptionenView::Win32OptionenView()
    : PresenterDialog({layout::kWindow, layout::kControls,
                       ui::RowOf(layout::kControls, layout::kDefaultButton).id}) {}

void Win32OptionenView::run(HWND owner, Connect connect) {
    const DialogKeyFilter keys;
    PresenterDialog::run(owner, std::move(connect));
}

INT_PTR Win32OptionenView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == control(layout::kTabDialog) &&
                header->code == static_cast<UINT>(TCN_SELCHANGE)) {
                showPage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
                return TRUE;
            }
            return FALSE;
        }
        case WM_CTLCOLORSTATIC:
            return pageBackground(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_PRINTCLIENT:
            printPage(reinterpret_cast<HDC>(wParam));
            return TRUE;
        case WM_DESTROY:
            DialogKeyFilter::Route(window(), nullptr);
            return FALSE;
        default:
            return PresenterDialog::handle(message, wParam, lParam);
    }
}

void Win32OptionenView::made() {
    HWND tabs = control(layout::kTabDialog);
    for (std::size_t page = 0; page < layout::kTabCaptions.size(); ++page) {
        std::wstring caption = win32::Utf8ToWide(layout::kTabCaptions[page]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
    }
    showPage(0);
    keepTabStops();
    DialogKeyFilter::Route(window(), this);
}

void Win32OptionenView::placed(int dpi) {
    // Tabs keep their text's width; only the height follows the layout.
    SendMessageW(control(layout::kTabDialog), TCM_SETITEMSIZE, 0,
                 MAKELPARAM(0, ui::TwipsToPixels(layout::kTabHeight, dpi)));
}

void Win32OptionenView::clicked(int id) {
    if (presenter() == nullptr) {
        return;
    }
    for (const ui::OptionenRoute& route : ui::kOptionenRoutes) {
        if (route.id == id) {
            (presenter()->*route.handler)();
            return;
        }
    }
    keepTabStops();  // an option button was clicked
}

INT_PTR Win32OptionenView::pageBackground(HDC context, HWND child) const {
    // Labels, frames and option buttons on a page show the tab's own background, which a
    // theme may draw lighter than the dialog's or as a gradient: they draw no background.
    if (const LayoutControls* all = controls()) {
        for (const LayoutControls::Control& entry : all->controls()) {
            if (entry.window == child && all->page(*entry.layout) >= 0) {
                SetBkMode(context, TRANSPARENT);
                return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
            }
        }
    }
    return FALSE;  // the dialog's own colours
}

void Win32OptionenView::printPage(HDC context) {
    // Themed frames, option buttons and push buttons ask their parent, the dialog, to draw what
    // lies behind them; on a page that is the tab control's page, not the dialog's face. The
    // asking control's clip region keeps the tab control to the control's own area.
    // The tab control asks for what lies behind its own tabs the same way.
    HWND tabs = control(layout::kTabDialog);
    if (tabs == nullptr || printingPage_) {
        return;
    }
    RECT place{};
    GetWindowRect(tabs, &place);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&place), 2);
    // The tab control leaves its clip region, font and colours behind; the asker needs its own.
    const int saved = SaveDC(context);
    OffsetViewportOrgEx(context, place.left, place.top, nullptr);
    printingPage_ = true;
    SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(context), PRF_CLIENT);
    printingPage_ = false;
    RestoreDC(context, saved);
}

void Win32OptionenView::showPage(int page) {
    const LayoutControls* all = controls();
    if (all == nullptr) {
        return;
    }
    HWND focused = GetFocus();
    bool focusHidden = false;
    for (const LayoutControls::Control& entry : all->controls()) {
        const int onPage = all->page(*entry.layout);
        if (onPage < 0 || entry.window == nullptr) {
            continue;
        }
        const bool visible = onPage == page;
        ShowWindow(entry.window, visible ? SW_SHOWNA : SW_HIDE);
        if (!visible && entry.window == focused) {
            focusHidden = true;
        }
    }
    // A hidden control keeps the focus unless it is moved: give it to the tab control.
    if (focusHidden) {
        SendMessageW(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(layout::kTabDialog)),
                     TRUE);
    }
}

void Win32OptionenView::switchPage(int page) {
    HWND tabs = control(layout::kTabDialog);
    SendMessageW(tabs, TCM_SETCURSEL, page, 0);
    showPage(page);
    SendMessageW(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(tabs), TRUE);
}

bool Win32OptionenView::filterKey(const MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        switchPage(currentTab() == ui::OptionenTab::Datenbank ? 1 : 0);
        return true;
    }
    // Bit 29: the Alt key is down.
    if (message.message == WM_SYSCHAR && (message.lParam & (1 << 29)) != 0) {
        return accessKeyChosen(static_cast<wchar_t>(message.wParam));
    }
    return false;
}

bool Win32OptionenView::accessKeyChosen(wchar_t key) {
    const wchar_t wanted = AccessKey(std::wstring(L"&") + key);
    for (std::size_t page = 0; page < layout::kTabCaptions.size(); ++page) {
        if (AccessKey(win32::Utf8ToWide(layout::kTabCaptions[page])) == wanted) {
            switchPage(static_cast<int>(page));
            return true;
        }
    }
    return false;
}

void Win32OptionenView::keepTabStops() {
    // Tab enters an option group at its selected button, or at its first while none is.
    for (std::span<const layout::OptionValue> group : layout::kOptionGroups) {
        std::string_view stop = group.front().button;
        for (const layout::OptionValue& option : group) {
            if (checked(option.button)) {
                stop = option.button;
            }
        }
        for (const layout::OptionValue& option : group) {
            if (HWND button = control(option.button)) {
                SetStyleBit(button, WS_TABSTOP, option.button == stop);
            }
        }
    }
}

bool Win32OptionenView::checked(std::string_view name) const {
    HWND button = control(name);
    return button != nullptr && SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string Win32OptionenView::text(ui::OptionenText box) {
    HWND edit = control(ui::TextBoxName(box));
    return edit != nullptr ? WindowTextUtf8(edit) : std::string();
}

void Win32OptionenView::setText(ui::OptionenText box, std::string_view text) {
    if (HWND edit = control(ui::TextBoxName(box))) {
        SetWindowTextUtf8(edit, text);
    }
}

void Win32OptionenView::focus(ui::OptionenText box) {
    if (HWND edit = control(ui::TextBoxName(box))) {
        SendMessageW(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    }
}

ui::OptionenTab Win32OptionenView::currentTab() {
    HWND tabs = control(layout::kTabDialog);
    const LRESULT page = tabs != nullptr ? SendMessageW(tabs, TCM_GETCURSEL, 0, 0) : 0;
    return page == static_cast<int>(ui::OptionenTab::Shell) ? ui::OptionenTab::Shell
                                                            : ui::OptionenTab::Datenbank;
}

void Win32OptionenView::showTab(ui::OptionenTab tab) {
    HWND tabs = control(layout::kTabDialog);
    if (tabs == nullptr) {
        return;
    }
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<int>(tab), 0);
    showPage(static_cast<int>(tab));
}

std::optional<int> Win32OptionenView::choice(ui::OptionGroup group) {
    for (const layout::OptionValue& option : ui::OptionsOf(group)) {
        if (checked(option.button)) {
            return option.value;
        }
    }
    return std::nullopt;
}

void Win32OptionenView::setChoice(ui::OptionGroup group, std::optional<int> value) {
    for (const layout::OptionValue& option : ui::OptionsOf(group)) {
        if (HWND button = control(option.button)) {
            SendMessageW(button, BM_SETCHECK, option.value == value ? BST_CHECKED : BST_UNCHECKED,
                         0);
        }
    }
    keepTabStops();
}

}  // namespace kw::winui
