#include "ui/qt/qt_anrufliste_view.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

#include <array>
#include <memory>
#include <utility>

#include "platform/qt/qt_text.h"
#include "ui/anrufliste_layout.h"
#include "ui/qt/control_font.h"
#include "ui/qt/program_icon.h"

namespace kw::qt {

namespace layout = ui::anrufliste;

namespace {

using SharedRows = std::shared_ptr<const std::vector<CallListRow>>;

// A row that makes its texts when they are painted or asked for: 20,000 items with five
// ready-made QStrings each took 27 MiB and most of the time to show the list.
class CallListItem final : public QTreeWidgetItem {
  public:
    CallListItem(SharedRows rows, std::size_t row)
        : QTreeWidgetItem(UserType), rows_(std::move(rows)), row_(row) {}

    QVariant data(int column, int role) const override {
        const CallListRow& cells = (*rows_)[row_];
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && column >= 0 &&
            static_cast<std::size_t>(column) < cells.size()) {
            return ToQString(cells[static_cast<std::size_t>(column)]);
        }
        return QTreeWidgetItem::data(column, role);
    }

  private:
    SharedRows rows_;
    std::size_t row_;
};

}  // namespace

QtAnruflisteView::QtAnruflisteView() {
    const TwipsScale scale = layOut(layout::kWindow, layout::kControls);

    QTreeWidget& calls = list();
    QStringList headings;
    for (std::size_t column = 0; column < kCallListColumns.size(); ++column) {
        headings << ToQString(kCallListColumns[column]);
    }
    calls.setHeaderLabels(headings);
    for (std::size_t column = 0; column < layout::kColumnWidths.size(); ++column) {
        calls.setColumnWidth(static_cast<int>(column), scale.pixels(layout::kColumnWidths[column]));
    }
    calls.setUniformRowHeights(true);  // 20,000 rows
    calls.setAllColumnsShowFocus(true);
    calls.installEventFilter(this);
    // Enter belongs to the list; no button takes it over as a default.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    controls_->applyTabOrder();
}

QTreeWidget& QtAnruflisteView::list() const {
    return controls_->get<QTreeWidget>(layout::kList);
}

void QtAnruflisteView::connectTo(ui::Anrufliste& presenter) {
    presenter_ = &presenter;
    const std::pair<std::string_view, void (ui::Anrufliste::*)()> buttons[] = {
        {layout::kRun, &ui::Anrufliste::runClicked},
        {layout::kCopy, &ui::Anrufliste::copyClicked},
        {layout::kDelete, &ui::Anrufliste::deleteClicked},
        {layout::kClear, &ui::Anrufliste::clearClicked},
        {layout::kExport, &ui::Anrufliste::exportClicked},
    };
    for (const auto& [name, handler] : buttons) {
        connect(&controls_->get<QPushButton>(name), &QPushButton::clicked, this,
                [&presenter, handler] { (presenter.*handler)(); });
    }
    connect(&controls_->get<QCheckBox>(layout::kOnlyMissed), &QCheckBox::clicked, this,
            [&presenter] { presenter.filterClicked(); });
    connect(&list(), &QTreeWidget::itemDoubleClicked, this,
            [&presenter] { presenter.runClicked(); });
    // The window has no OK: closing is its cancel, from the button, Esc or the close box.
    connectOkCancel(
        controls_->get<QPushButton>(layout::kRun), controls_->get<QPushButton>(layout::kClose),
        [] {}, [&presenter] { presenter.closeClicked(); });
}

bool QtAnruflisteView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &list() && presenter_ != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            presenter_->runClicked();
            return true;
        }
        if (key == Qt::Key_Delete) {
            presenter_->deleteClicked();
            return true;
        }
    }
    return PresenterDialog::eventFilter(watched, event);
}

void QtAnruflisteView::showRows(const std::vector<CallListRow>& rows) {
    QTreeWidget& calls = list();
    calls.clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    const auto shared = std::make_shared<const std::vector<CallListRow>>(rows);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        items << new CallListItem(shared, row);
    }
    calls.addTopLevelItems(items);
    if (!items.isEmpty()) {
        calls.setCurrentItem(items.front());
    }
}

std::vector<std::size_t> QtAnruflisteView::selectedRows() {
    std::vector<std::size_t> rows;
    // By model row: asking each item for its position is slow with thousands selected.
    for (const QModelIndex& index : list().selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    return rows;
}

bool QtAnruflisteView::onlyMissed() {
    return controls_->get<QCheckBox>(layout::kOnlyMissed).isChecked();
}

void QtAnruflisteView::close() {
    finish();
}

}  // namespace kw::qt
