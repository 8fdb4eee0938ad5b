#pragma once

#include "ui/anzeige.h"
#include "ui/win32/presenter_dialog.h"

namespace kw::winui {

// "Anzeige und Start": two check boxes, OK as the default button; Esc and the close box cancel.
class Win32AnzeigeView final : public PresenterDialog<ui::Anzeige, ui::AnzeigeView> {
  public:
    Win32AnzeigeView();

    bool checked(ui::AnzeigeCheck box) override;
    void setChecked(ui::AnzeigeCheck box, bool on) override;
    void setEnabled(ui::AnzeigeCheck box, bool enabled) override;
};

}  // namespace kw::winui
