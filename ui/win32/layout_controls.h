#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/layout.h"
#include "ui/win32/control_fonts.h"

namespace kw::winui {

// The controls of one window made from its layout table: all direct children of the window,
// created in tab order, each at its place (a container's controls relative to the container),
// with its id from the table, its font and the radio groups marked. The window owns the
// controls and destroys them; this only finds and places them.
class LayoutControls {
  public:
    struct Control {
        const ui::ControlLayout* layout;
        HWND window;  // null for a PhoneControl, which its host makes
    };

    // `noPrefix` names the labels whose "&" is shown as it is.
    LayoutControls(HWND parent, std::span<const ui::ControlLayout> layouts, ControlFonts& fonts,
                   int dpi, std::span<const std::string_view> noPrefix = {});

    // Null for an unknown name.
    HWND get(std::string_view name) const;
    const ui::ControlLayout* layout(std::string_view name) const;

    // The tab page a control lies on, directly or through its container; -1 for none.
    int page(const ui::ControlLayout& layout) const;
    // The place in the window's client area in twips, the containers' offsets added.
    ui::TwipsRect windowTwips(const ui::ControlLayout& layout) const;
    RECT pixels(const ui::ControlLayout& layout, int dpi) const;

    // Moves and re-fonts every control for another DPI.
    void place(int dpi);

    // In creation order.
    const std::vector<Control>& controls() const { return controls_; }

  private:
    std::span<const ui::ControlLayout> layouts_;
    ControlFonts& fonts_;
    std::vector<Control> controls_;
};

}  // namespace kw::winui
