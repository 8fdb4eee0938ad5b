#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <span>

#include "ui/layout.h"
#include "ui/qt/control_set.h"
#include "ui/qt/twips_scale.h"

class QPushButton;

namespace kw::qt {

// A modal dialog whose OK and Cancel belong to a presenter: the presenter closes it, accepted
// when that happens from OK; Esc and the frame's close box are the presenter's cancel.
class PresenterDialog : public QDialog {
  protected:
    // The frame, title, icon and font every dialog has, its fixed size and screen place from the
    // layout, and its controls from the table; returns the scale for what the view adds itself.
    TwipsScale layOut(const ui::WindowLayout& window, std::span<const ui::ControlLayout> table);

    void connectOkCancel(QPushButton& ok, QPushButton& cancel, std::function<void()> onOk,
                         std::function<void()> onCancel);

    // Ends exec(): accepted while OK's handler runs, rejected otherwise.
    void finish();

    void reject() override;

    std::optional<ControlSet> controls_;

  private:
    std::function<void()> onCancel_;
    bool inOk_ = false;
};

}  // namespace kw::qt
