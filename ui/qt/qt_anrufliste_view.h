#pragma once

#include <optional>
#include <vector>

#include "ui/anrufliste.h"
#include "ui/qt/control_set.h"
#include "ui/qt/presenter_dialog.h"

class QTreeWidget;

namespace kw::qt {

// The call list window: the calls as plain-text rows, newest on top, the filter and the buttons;
// everything goes to the Anrufliste presenter. Enter and a double click in the list run the
// action, Del deletes, Esc and the close box close.
class QtAnruflisteView final : public PresenterDialog, public ui::AnruflisteView {
  public:
    QtAnruflisteView();

    // Sends the window's events to the presenter, which must outlive the dialog's exec().
    void connectTo(ui::Anrufliste& presenter);

    void showRows(const std::vector<CallListRow>& rows) override;
    std::vector<std::size_t> selectedRows() override;
    bool onlyMissed() override;
    // Ends exec(). Hides QWidget::close(), which is not virtual.
    void close() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTreeWidget& list() const;

    ui::Anrufliste* presenter_ = nullptr;
};

}  // namespace kw::qt
