#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/layout.h"

namespace kw::winui {

// The key of a menu shortcut as the layout writes it ("Ctrl+L", "Ctrl+F4", "F1"); nothing for
// an empty or unknown text.
std::optional<ACCEL> ShortcutKey(std::string_view shortcut, WORD command);

// The shortcut as a German menu shows it beside the caption: "Strg+L", "F1".
std::wstring ShortcutLabel(std::string_view shortcut);

// Owns an accelerator table built from the menu entries' shortcuts, with the entries' control
// identifiers as commands.
class AcceleratorTable {
  public:
    AcceleratorTable() = default;
    explicit AcceleratorTable(std::span<const ui::MenuEntry> entries);
    ~AcceleratorTable();
    AcceleratorTable(AcceleratorTable&& other) noexcept;
    AcceleratorTable& operator=(AcceleratorTable&& other) noexcept;
    AcceleratorTable(const AcceleratorTable&) = delete;
    AcceleratorTable& operator=(const AcceleratorTable&) = delete;

    HACCEL get() const { return table_; }
    int size() const;

  private:
    HACCEL table_ = nullptr;
};

}  // namespace kw::winui
