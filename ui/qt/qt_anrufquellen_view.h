#pragma once

#include <QButtonGroup>

#include <optional>
#include <string>
#include <string_view>

#include "ui/anrufquellen.h"
#include "ui/qt/control_set.h"
#include "ui/qt/presenter_dialog.h"

class QCheckBox;
class QLineEdit;

namespace kw::qt {

// The call sources dialog as the Linux table lays it out: check boxes for the sources, the
// router's address and the SIP account with its transport. OK is the default button, Esc and
// the close box cancel; everything goes to the Anrufquellen presenter.
class QtAnrufquellenView final : public PresenterDialog, public ui::AnrufquellenView {
  public:
    QtAnrufquellenView();

    // Sends the dialog's events to the presenter, which must outlive the dialog's exec().
    void connectTo(ui::Anrufquellen& presenter);

    bool checked(ui::SourceCheck box) override;
    void setChecked(ui::SourceCheck box, bool on) override;
    std::string text(ui::SourceText box) override;
    void setText(ui::SourceText box, std::string_view text) override;
    void setTextEnabled(ui::SourceText box, bool enabled) override;
    void focus(ui::SourceText box) override;
    SipTransport transport() override;
    void setTransport(SipTransport transport) override;
    void setTransportEnabled(bool enabled) override;
    // Ends exec(): accepted when it comes from OK, rejected otherwise. Hides QWidget::close(),
    // which is not virtual; Esc and the frame's close box are the presenter's cancel.
    void close() override;

  private:
    // Null for a source this system does not offer (the phone control).
    QCheckBox* box(ui::SourceCheck which) const;
    QLineEdit& box(ui::SourceText which) const;

    QButtonGroup transports_;
};

}  // namespace kw::qt
