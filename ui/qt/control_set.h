#pragma once

#include <QWidget>

#include <map>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/layout.h"
#include "ui/qt/twips_scale.h"

namespace kw::qt {

// The widgets of one window, made from its layout table: each at its place in its container,
// named after its control, with the table's caption, font, tooltip, border and state. Qt's
// parent-child ownership keeps the widgets; this only finds them again.
class ControlSet {
  public:
    ControlSet(QWidget& window, std::span<const ui::ControlLayout> layouts,
               const TwipsScale& scale);

    QWidget& widget(std::string_view name) const;

    template <class W>
    W& get(std::string_view name) const {
        return dynamic_cast<W&>(widget(name));
    }

    // The controls that sit directly on a page of the tab control, with their page.
    const std::vector<std::pair<QWidget*, int>>& pageControls() const { return pageControls_; }

    // Chains the focusable controls in the order of the table's tab positions.
    void applyTabOrder() const;

  private:
    std::span<const ui::ControlLayout> layouts_;
    std::map<std::string_view, QWidget*> widgets_;
    std::vector<std::pair<QWidget*, int>> pageControls_;
};

}  // namespace kw::qt
