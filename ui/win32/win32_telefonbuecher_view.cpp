#include "ui/win32/win32_telefonbuecher_view.h"

#include <array>

#include "platform/win32/wide_text.h"
#include "ui/telefonbuecher_layout.h"
#include "ui/win32/twips.h"
#include "ui/win32/window_text.h"

namespace kw::winui {

namespace layout = ui::telefonbuecher;

namespace {

// File names and reasons may hold "&".
constexpr std::array<std::string_view, 1> kNoPrefix{layout::kStatus};

constexpr std::array<std::pair<int, void (ui::Telefonbuecher::*)()>, 5> kClicks{{
    {ui::RowOf(layout::kControls, "BTN_Datei").id, &ui::Telefonbuecher::addFileClicked},
    {ui::RowOf(layout::kControls, "BTN_Ordner").id, &ui::Telefonbuecher::addFolderClicked},
    {ui::RowOf(layout::kControls, "BTN_Entfernen").id, &ui::Telefonbuecher::removeClicked},
    {ui::RowOf(layout::kControls, "BTN_Oben").id, &ui::Telefonbuecher::upClicked},
    {ui::RowOf(layout::kControls, "BTN_Unten").id, &ui::Telefonbuecher::downClicked},
}};

}  // namespace

Win32TelefonbuecherView::Win32TelefonbuecherView()
    : PresenterDialog({layout::kWindow, layout::kControls,
                       ui::RowOf(layout::kControls, layout::kDefaultButton).id, kNoPrefix}) {}

INT_PTR Win32TelefonbuecherView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND &&
        LOWORD(wParam) == ui::RowOf(layout::kControls, layout::kFileList).id) {
        if (HIWORD(wParam) == LBN_SELCHANGE && presenter() != nullptr) {
            presenter()->selectionChanged();
        }
        return TRUE;
    }
    return PresenterDialog::handle(message, wParam, lParam);
}

void Win32TelefonbuecherView::clicked(int id) {
    if (presenter() == nullptr) {
        return;
    }
    for (const auto& [button, handler] : kClicks) {
        if (id == button) {
            (presenter()->*handler)();
        }
    }
}

std::string Win32TelefonbuecherView::text(ui::BookText box) {
    HWND edit = control(layout::kTextNames.at(static_cast<std::size_t>(box)));
    return edit != nullptr ? WindowTextUtf8(edit) : std::string();
}

void Win32TelefonbuecherView::setText(ui::BookText box, std::string_view text) {
    if (HWND edit = control(layout::kTextNames.at(static_cast<std::size_t>(box)))) {
        SetWindowTextUtf8(edit, text);
    }
}

void Win32TelefonbuecherView::focus(ui::BookText box) {
    if (HWND edit = control(layout::kTextNames.at(static_cast<std::size_t>(box)))) {
        SendMessageW(window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    }
}

void Win32TelefonbuecherView::setFiles(const std::vector<std::string>& files, int selected) {
    HWND list = control(layout::kFileList);
    if (list == nullptr) {
        return;
    }
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& file : files) {
        const std::wstring wide = win32::Utf8ToWide(file);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    // LB_SETCURSEL sends no LBN_SELCHANGE: the presenter asks for the buttons' state itself.
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int Win32TelefonbuecherView::selectedFile() {
    HWND list = control(layout::kFileList);
    return list != nullptr ? static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)) : -1;
}

void Win32TelefonbuecherView::setButtonEnabled(ui::BookButton button, bool enabled) {
    if (HWND found = control(layout::kButtonNames.at(static_cast<std::size_t>(button)))) {
        EnableWindow(found, enabled ? TRUE : FALSE);
    }
}

void Win32TelefonbuecherView::setStatus(std::string_view lines) {
    std::string crlf;
    for (const char c : lines) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    if (HWND label = control(layout::kStatus)) {
        SetWindowTextUtf8(label, crlf);
    }
}

}  // namespace kw::winui
