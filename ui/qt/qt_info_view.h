#pragma once

#include <optional>
#include <string_view>

#include "ui/info.h"
#include "ui/qt/presenter_dialog.h"
#include "ui/qt/twips_scale.h"

namespace kw::qt {

// The about dialog: icon, title, version, description, disclaimer and the etched line. OK,
// Enter, Esc and the close box all go to the Info presenter.
class QtInfoView final : public PresenterDialog, public ui::InfoView {
  public:
    QtInfoView();

    // Sends the dialog's events to the presenter, which must outlive the dialog's exec().
    void connectTo(ui::Info& presenter);

    void setCaption(std::string_view text) override;
    void setVersionText(std::string_view text) override;
    // Ends exec(). Hides QWidget::close(), which is not virtual; the close box goes through
    // reject().
    void close() override;

  protected:
    void reject() override;
    void paintEvent(QPaintEvent* event) override;

  private:
    TwipsScale scale_;
    ui::Info* presenter_ = nullptr;
};

}  // namespace kw::qt
