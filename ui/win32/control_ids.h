#pragma once

#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string_view>

#include "ui/anrufquellen_layout.h"
#include "ui/info_layout.h"
#include "ui/main_screen_layout.h"
#include "ui/optionen_layout.h"

namespace kw::winui {

// The window classes of the program's own windows; the dialogs are standard dialog windows
// ("#32770") found by their captions.
inline constexpr wchar_t kMainWindowClass[] = L"KlingelwartMainScreen";

// The id of any window's control or menu command by its designer name, as the layout tables
// give it; the GUI tests find controls with it. An unknown name fails the build where the name is
// a constant and throws otherwise: it never stands for "no control".
constexpr int ControlId(std::string_view name) {
    for (const auto& table :
         {std::span<const ui::ControlLayout>(ui::main_screen::kControls),
          std::span<const ui::ControlLayout>(ui::optionen::kControls),
          std::span<const ui::ControlLayout>(ui::info::kControls),
          std::span<const ui::ControlLayout>(ui::anrufquellen::kWindowsControls)}) {
        for (const ui::ControlLayout& row : table) {
            if (row.name == name) {
                return row.id;
            }
        }
    }
    for (const ui::MenuEntry& entry : ui::main_screen::kMenus) {
        if (entry.name == name && entry.id != 0) {
            return entry.id;
        }
    }
    throw std::invalid_argument("no control of that name");
}

}  // namespace kw::winui
