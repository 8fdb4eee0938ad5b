#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <string_view>

namespace kw::ui {

// Positions and sizes are twips: 1440 per inch, so 15 per pixel at 96 dots per inch.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kTwipsPerInch = 1440;

// Pixels at the given logical dots per inch, rounded to the nearest pixel.
inline int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

struct FontStyle {
    std::string_view face = "MS Sans Serif";
    double points = 8.25;
    bool bold = false;
};

enum class ControlKind {
    Label,
    Button,
    TextBox,
    OptionButton,
    CheckBox,
    Frame,
    TabControl,
    PhoneControl,
    Picture,
    ListBox,
    ListView,  // rows under column headings, several selectable
};

// One control as the window's designer placed it. The container is another control's name, or
// empty for the window itself; tab pages are named by the tab control and the page index.
struct ControlLayout {
    std::string_view name;
    int id = 0;  // the Windows control id; unique in its window and never 0
    ControlKind kind = ControlKind::Label;
    std::string_view container;
    int tabPage = -1;  // page of the tab control that holds it, -1 when not on a page
    TwipsRect rect;
    std::string_view caption;
    int tabIndex = -1;  // position in the keyboard tab order, -1 for none
    FontStyle font;
    std::string_view tooltip;
    bool border = false;
    bool centred = false;
    bool enabled = true;
    bool password = false;  // a text box that hides what is typed
};

struct WindowLayout {
    std::string_view name;
    std::string_view caption;  // empty when the load sets it
    int clientWidth = 0;       // twips
    int clientHeight = 0;
    int screenLeft = 0;  // twips; the outer frame's corner for the main window, else the client's
    int screenTop = 0;
};

// A menu entry; a caption "-" is a separator. Entries with an empty parent are menu titles.
struct MenuEntry {
    std::string_view name;
    int id;  // the command id; 0 for titles and separators, which send no command
    std::string_view caption;
    std::string_view parent;
    std::string_view shortcut;  // "Ctrl+L", "F1", or empty
};

// The ids the Windows dialog manager gives Enter and Esc.
inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;

// A window's controls and menu commands share one id space, where 0 means "no control".
constexpr bool HasDistinctIds(std::span<const ControlLayout> controls,
                              std::span<const MenuEntry> menus = {}) {
    const std::size_t count = controls.size() + menus.size();
    auto idAt = [&](std::size_t i) {
        return i < controls.size() ? controls[i].id : menus[i - controls.size()].id;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const bool command = i < controls.size() || (!menus[i - controls.size()].parent.empty() &&
                                                     menus[i - controls.size()].caption != "-");
        if (command != (idAt(i) != 0)) {
            return false;
        }
        for (std::size_t j = i + 1; j < count; ++j) {
            if (idAt(i) != 0 && idAt(i) == idAt(j)) {
                return false;
            }
        }
    }
    return true;
}

// The row named `name`. Only at compile time, so that a name the table lacks fails the build.
template <class Row, std::size_t N>
consteval const Row& RowOf(const std::array<Row, N>& table, std::string_view name) {
    for (const Row& row : table) {
        if (row.name == name) {
            return row;
        }
    }
    throw "no row of that name";
}

}  // namespace kw::ui
