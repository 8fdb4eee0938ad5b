#include "ui/win32/menu_bar.h"

#include <map>
#include <string>
#include <string_view>

#include "platform/win32/wide_text.h"
#include "ui/win32/accelerator_table.h"

namespace kw::winui {

HMENU CreateMenuBar(std::span<const ui::MenuEntry> entries) {
    HMENU bar = CreateMenu();
    std::map<std::string_view, HMENU> submenus;
    for (const ui::MenuEntry& entry : entries) {
        if (entry.parent.empty()) {
            HMENU submenu = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                        win32::Utf8ToWide(entry.caption).c_str());
            submenus.emplace(entry.name, submenu);
            continue;
        }
        const auto parent = submenus.find(entry.parent);
        if (parent == submenus.end()) {
            continue;
        }
        if (entry.caption == "-") {
            AppendMenuW(parent->second, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring text = win32::Utf8ToWide(entry.caption);
        if (!entry.shortcut.empty()) {
            text += L'\t' + ShortcutLabel(entry.shortcut);
        }
        AppendMenuW(parent->second, MF_STRING, static_cast<UINT_PTR>(entry.id), text.c_str());
    }
    return bar;
}

}  // namespace kw::winui
