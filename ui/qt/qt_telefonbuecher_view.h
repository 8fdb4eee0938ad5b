#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/qt/control_set.h"
#include "ui/qt/presenter_dialog.h"
#include "ui/telefonbuecher.h"

class QLineEdit;
class QListWidget;

namespace kw::qt {

// The phone books dialog as its table lays it out. OK is the default button, Esc and the close
// box cancel; everything goes to the Telefonbuecher presenter.
class QtTelefonbuecherView final : public PresenterDialog, public ui::TelefonbuecherView {
  public:
    QtTelefonbuecherView();

    // Sends the dialog's events to the presenter, which must outlive the dialog's exec().
    void connectTo(ui::Telefonbuecher& presenter);

    std::string text(ui::BookText box) override;
    void setText(ui::BookText box, std::string_view text) override;
    void focus(ui::BookText box) override;
    void setFiles(const std::vector<std::string>& files, int selected) override;
    int selectedFile() override;
    void setButtonEnabled(ui::BookButton button, bool enabled) override;
    void setStatus(std::string_view lines) override;
    void close() override;

  private:
    QLineEdit& box(ui::BookText which) const;
    QListWidget& list() const;
};

}  // namespace kw::qt
