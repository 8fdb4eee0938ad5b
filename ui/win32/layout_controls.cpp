#include "ui/win32/layout_controls.h"

#include <algorithm>

#include "ui/win32/control_factory.h"
#include "ui/win32/twips.h"

namespace kw::winui {

namespace {

// Containers nest only a few deep; the bound keeps a table with a cycle from looping.
constexpr int kMaxNesting = 8;

}  // namespace

LayoutControls::LayoutControls(HWND parent, std::span<const ui::ControlLayout> layouts,
                               ControlFonts& fonts, int dpi,
                               std::span<const std::string_view> noPrefix)
    : layouts_(layouts), fonts_(fonts) {
    const ui::ControlLayout* previous = nullptr;
    for (const ui::ControlLayout* entry : CreationOrder(layouts)) {
        ControlFlags flags;
        flags.noPrefix = std::find(noPrefix.begin(), noPrefix.end(), entry->name) != noPrefix.end();
        flags.startsGroup = StartsGroup(*entry, previous);
        HWND made = CreateLayoutControl(parent, *entry, entry->id, pixels(*entry, dpi),
                                        fonts_.get(entry->font, dpi), flags);
        controls_.push_back(Control{entry, made});
        previous = entry;
    }
}

HWND LayoutControls::get(std::string_view name) const {
    for (const Control& control : controls_) {
        if (control.layout->name == name) {
            return control.window;
        }
    }
    return nullptr;
}

const ui::ControlLayout* LayoutControls::layout(std::string_view name) const {
    for (const ui::ControlLayout& entry : layouts_) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

int LayoutControls::page(const ui::ControlLayout& entry) const {
    const ui::ControlLayout* current = &entry;
    for (int depth = 0; current != nullptr && depth < kMaxNesting; ++depth) {
        if (current->tabPage >= 0) {
            return current->tabPage;
        }
        current = current->container.empty() ? nullptr : layout(current->container);
    }
    return -1;
}

ui::TwipsRect LayoutControls::windowTwips(const ui::ControlLayout& entry) const {
    ui::TwipsRect place = entry.rect;
    const ui::ControlLayout* container =
        entry.container.empty() ? nullptr : layout(entry.container);
    for (int depth = 0; container != nullptr && depth < kMaxNesting; ++depth) {
        place.left += container->rect.left;
        place.top += container->rect.top;
        container = container->container.empty() ? nullptr : layout(container->container);
    }
    return place;
}

RECT LayoutControls::pixels(const ui::ControlLayout& entry, int dpi) const {
    return TwipsToRect(windowTwips(entry), dpi);
}

void LayoutControls::place(int dpi) {
    for (const Control& control : controls_) {
        if (control.window == nullptr) {
            continue;
        }
        const RECT rect = pixels(*control.layout, dpi);
        SetWindowPos(control.window, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control.window, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts_.get(control.layout->font, dpi)), TRUE);
    }
}

}  // namespace kw::winui
