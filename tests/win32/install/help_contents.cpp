#include "tests/win32/install/help_contents.h"

#include <cstddef>

#include "tests/win32/gui/process_windows.h"
#include "tests/win32/gui/remote_memory.h"

#include <commctrl.h>

namespace kw::win32::install {

namespace {

constexpr std::size_t kTextChars = 260;
constexpr std::size_t kItemOffset = 0;
constexpr std::size_t kTextOffset = sizeof(TVITEMW);

HWND FindTree(HWND root) {
    HWND found = nullptr;
    EnumChildWindows(
        root,
        [](HWND child, LPARAM into) -> BOOL {
            if (gui::ClassOf(child) == WC_TREEVIEWW) {
                *reinterpret_cast<HWND*>(into) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

std::vector<std::wstring> HelpContentsTitles(DWORD processId, HWND helpWindow) {
    std::vector<std::wstring> titles;
    const HWND tree = FindTree(helpWindow);
    const gui::RemoteMemory block(processId, kTextOffset + kTextChars * sizeof(wchar_t));
    if (tree == nullptr || !block) {
        return titles;
    }
    auto item =
        reinterpret_cast<HTREEITEM>(gui::AskWindow(tree, TVM_GETNEXTITEM, TVGN_ROOT).value_or(0));
    while (item != nullptr) {
        TVITEMW query{};
        query.mask = TVIF_TEXT | TVIF_HANDLE;
        query.hItem = item;
        query.pszText = static_cast<LPWSTR>(block.at(kTextOffset));
        query.cchTextMax = static_cast<int>(kTextChars);
        wchar_t text[kTextChars] = {};
        if (!block.write(kTextOffset, text, sizeof(text)) ||
            !block.write(kItemOffset, &query, sizeof(query)) ||
            gui::AskWindow(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.at(kItemOffset)))
                    .value_or(0) == 0 ||
            !block.read(kTextOffset, text, sizeof(text))) {
            break;
        }
        text[kTextChars - 1] = L'\0';
        titles.emplace_back(text);
        item = reinterpret_cast<HTREEITEM>(
            gui::AskWindow(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))
                .value_or(0));
    }
    return titles;
}

}  // namespace kw::win32::install
