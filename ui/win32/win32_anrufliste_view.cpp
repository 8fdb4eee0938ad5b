#include "ui/win32/win32_anrufliste_view.h"

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "ui/anrufliste_layout.h"
#include "ui/win32/twips.h"

#include <commctrl.h>

namespace kw::winui {

namespace layout = ui::anrufliste;

Win32AnruflisteView::Win32AnruflisteView()
    // No default button: Enter runs the action, as a double click does.
    : PresenterDialog({layout::kWindow, layout::kControls, IDOK}) {}

INT_PTR Win32AnruflisteView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        notify(*reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    }
    return PresenterDialog::handle(message, wParam, lParam);
}

void Win32AnruflisteView::made() {
    SendMessageW(list(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (std::size_t column = 0; column < kCallListColumns.size(); ++column) {
        std::wstring heading = win32::Utf8ToWide(kCallListColumns[column]);
        LVCOLUMNW entry{};
        entry.mask = LVCF_TEXT | LVCF_SUBITEM;
        entry.pszText = heading.data();
        entry.iSubItem = static_cast<int>(column);
        SendMessageW(list(), LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
    }
}

void Win32AnruflisteView::placed(int dpi) {
    for (std::size_t column = 0; column < layout::kColumnWidths.size(); ++column) {
        SendMessageW(list(), LVM_SETCOLUMNWIDTH, column,
                     ui::TwipsToPixels(layout::kColumnWidths[column], dpi));
    }
}

void Win32AnruflisteView::clicked(int id) {
    if (presenter() == nullptr) {
        return;
    }
    const std::pair<int, void (ui::Anrufliste::*)()> handlers[] = {
        {ui::RowOf(layout::kControls, layout::kRun).id, &ui::Anrufliste::runClicked},
        {ui::RowOf(layout::kControls, layout::kCopy).id, &ui::Anrufliste::copyClicked},
        {ui::RowOf(layout::kControls, layout::kDelete).id, &ui::Anrufliste::deleteClicked},
        {ui::RowOf(layout::kControls, layout::kClear).id, &ui::Anrufliste::clearClicked},
        {ui::RowOf(layout::kControls, layout::kExport).id, &ui::Anrufliste::exportClicked},
        {ui::RowOf(layout::kControls, layout::kOnlyMissed).id, &ui::Anrufliste::filterClicked},
    };
    for (const auto& [handled, handler] : handlers) {
        if (handled == id) {
            (presenter()->*handler)();
            return;
        }
    }
}

void Win32AnruflisteView::notify(const NMHDR& header) {
    if (header.hwndFrom != list()) {
        return;
    }
    if (header.code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item;
        const auto row = static_cast<std::size_t>(item.iItem);
        const auto column = static_cast<std::size_t>(item.iSubItem);
        if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0 &&
            row < rows_.size() && column < kCallListColumns.size()) {
            const std::wstring& text = rows_[row][column];
            const std::size_t length =
                std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
            text.copy(item.pszText, length);
            item.pszText[length] = L'\0';
        }
    } else if (presenter() == nullptr) {
        return;
    } else if (header.code == NM_DBLCLK) {
        presenter()->runClicked();
    } else if (header.code == LVN_KEYDOWN &&
               reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
        presenter()->deleteClicked();
    }
}

HWND Win32AnruflisteView::list() const {
    return control(layout::kList);
}

void Win32AnruflisteView::showRows(const std::vector<CallListRow>& rows) {
    rows_.clear();
    rows_.reserve(rows.size());
    for (const CallListRow& row : rows) {
        auto& wide = rows_.emplace_back();
        for (std::size_t column = 0; column < row.size(); ++column) {
            wide[column] = win32::Utf8ToWide(row[column]);
        }
    }
    HWND calls = list();
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(calls, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    SendMessageW(calls, LVM_SETITEMCOUNT, rows_.size(), 0);
    if (!rows_.empty()) {
        LVITEMW first{};
        first.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        first.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(calls, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
    }
    InvalidateRect(calls, nullptr, TRUE);
}

std::vector<std::size_t> Win32AnruflisteView::selectedRows() {
    std::vector<std::size_t> rows;
    HWND calls = list();
    for (LRESULT at = SendMessageW(calls, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
         at >= 0;
         at = SendMessageW(calls, LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED)) {
        rows.push_back(static_cast<std::size_t>(at));
    }
    return rows;
}

bool Win32AnruflisteView::onlyMissed() {
    HWND box = control(layout::kOnlyMissed);
    return box != nullptr && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace kw::winui
