#pragma once

#include <QButtonGroup>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "ui/optionen.h"
#include "ui/qt/control_set.h"
#include "ui/qt/presenter_dialog.h"

class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace kw::qt {

// The options dialog: two tab pages, three option groups that may show no selection, OK as the
// default button and Cancel on Esc. Every button goes to the Optionen presenter.
class QtOptionenView final : public PresenterDialog, public ui::OptionenView {
  public:
    QtOptionenView();

    // Sends the dialog's events to the presenter, which must outlive the dialog's exec().
    void connectTo(ui::Optionen& presenter);

    std::string text(ui::OptionenText box) override;
    void setText(ui::OptionenText box, std::string_view text) override;
    void focus(ui::OptionenText box) override;
    ui::OptionenTab currentTab() override;
    void showTab(ui::OptionenTab tab) override;
    std::optional<int> choice(ui::OptionGroup group) override;
    void setChoice(ui::OptionGroup group, std::optional<int> value) override;
    // Ends exec(): accepted when it comes from OK, rejected otherwise. Hides QWidget::close(),
    // which is not virtual; Esc and the frame's close box are the presenter's cancel.
    void close() override;

  private:
    QLineEdit& box(ui::OptionenText box) const;
    QRadioButton& option(std::string_view name) const;
    QButtonGroup& group(ui::OptionGroup group);
    void showPage(int page);

    QTabWidget* tabs_ = nullptr;
    // By ui::OptionGroup.
    std::array<QButtonGroup, ui::optionen::kOptionGroups.size()> groups_;
};

}  // namespace kw::qt
