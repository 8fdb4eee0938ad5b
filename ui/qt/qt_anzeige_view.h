#pragma once

#include <optional>

#include "ui/anzeige.h"
#include "ui/qt/control_set.h"
#include "ui/qt/presenter_dialog.h"

class QCheckBox;

namespace kw::qt {

// "Anzeige und Start": two check boxes, OK as the default button; Esc and the close box cancel.
class QtAnzeigeView final : public PresenterDialog, public ui::AnzeigeView {
  public:
    QtAnzeigeView();

    // Sends the dialog's events to the presenter, which must outlive the dialog's exec().
    void connectTo(ui::Anzeige& presenter);

    bool checked(ui::AnzeigeCheck box) override;
    void setChecked(ui::AnzeigeCheck box, bool on) override;
    void setEnabled(ui::AnzeigeCheck box, bool enabled) override;
    // Ends exec(); hides QWidget::close(), which is not virtual.
    void close() override;

  private:
    QCheckBox& box(ui::AnzeigeCheck which) const;
};

}  // namespace kw::qt
