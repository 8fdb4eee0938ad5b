#include "ui/qt/qt_optionen_view.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include "platform/qt/qt_text.h"
#include "ui/optionen_layout.h"
#include "ui/optionen_routes.h"
#include "ui/qt/control_font.h"
#include "ui/qt/option_group.h"
#include "ui/qt/program_icon.h"

namespace kw::qt {

namespace layout = ui::optionen;

namespace {

// Shows no selection: an exclusive group refuses to uncheck its last button.
void ClearGroup(QButtonGroup& group) {
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons()) {
        button->setChecked(false);
    }
    group.setExclusive(true);
}

void Check(QButtonGroup& group, QRadioButton* button) {
    if (button == nullptr) {
        ClearGroup(group);
    } else {
        button->setChecked(true);
    }
    KeepTabStopAtSelection(group);
}

}  // namespace

QtOptionenView::QtOptionenView() {
    const TwipsScale scale = layOut(layout::kWindow, layout::kControls);
    tabs_ = &controls_->get<QTabWidget>(layout::kTabDialog);
    for (std::string_view caption : layout::kTabCaptions) {
        tabs_->addTab(new QWidget, ToQString(caption));
    }
    tabs_->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { height: %1px; }").arg(scale.pixels(layout::kTabHeight)));
    // The page controls belong to the tab control itself (their places are relative to it), so
    // the current tab shows and hides them; hidden controls drop out of the tab order.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) { showPage(page); });
    showPage(tabs_->currentIndex());

    for (std::size_t index = 0; index < groups_.size(); ++index) {
        QButtonGroup& group = groups_[index];
        for (const layout::OptionValue& entry : layout::kOptionGroups[index]) {
            group.addButton(&option(entry.button), entry.value);
        }
        KeepTabStopAtSelection(group);
        connect(&group, &QButtonGroup::buttonToggled, this,
                [&group] { KeepTabStopAtSelection(group); });
    }
    controls_->get<QPushButton>(layout::kDefaultButton).setDefault(true);
    controls_->applyTabOrder();
}

void QtOptionenView::connectTo(ui::Optionen& presenter) {
    auto wire = [this](std::string_view name, auto handler) {
        connect(&controls_->get<QPushButton>(name), &QPushButton::clicked, this, handler);
    };
    for (const ui::OptionenRoute& route : ui::kOptionenRoutes) {
        wire(route.name, [&presenter, handler = route.handler] { (presenter.*handler)(); });
    }
    connectOkCancel(
        controls_->get<QPushButton>("OKButton"), controls_->get<QPushButton>("CancelButton"),
        [&presenter] { presenter.okClicked(); }, [&presenter] { presenter.cancelClicked(); });
}

QLineEdit& QtOptionenView::box(ui::OptionenText which) const {
    return controls_->get<QLineEdit>(ui::TextBoxName(which));
}

QRadioButton& QtOptionenView::option(std::string_view name) const {
    return controls_->get<QRadioButton>(name);
}

QButtonGroup& QtOptionenView::group(ui::OptionGroup which) {
    return groups_.at(static_cast<std::size_t>(which));
}

void QtOptionenView::showPage(int page) {
    for (const auto& [widget, onPage] : controls_->pageControls()) {
        widget->setVisible(onPage == page);
    }
}

std::string QtOptionenView::text(ui::OptionenText which) {
    return ToUtf8(box(which).text());
}

void QtOptionenView::setText(ui::OptionenText which, std::string_view text) {
    box(which).setText(ToQString(text));
}

void QtOptionenView::focus(ui::OptionenText which) {
    box(which).setFocus(Qt::OtherFocusReason);
}

ui::OptionenTab QtOptionenView::currentTab() {
    return tabs_->currentIndex() == static_cast<int>(ui::OptionenTab::Shell)
               ? ui::OptionenTab::Shell
               : ui::OptionenTab::Datenbank;
}

void QtOptionenView::showTab(ui::OptionenTab tab) {
    tabs_->setCurrentIndex(static_cast<int>(tab));
}

std::optional<int> QtOptionenView::choice(ui::OptionGroup which) {
    const int id = group(which).checkedId();
    return id >= 0 ? std::optional<int>(id) : std::nullopt;
}

void QtOptionenView::setChoice(ui::OptionGroup which, std::optional<int> value) {
    QButtonGroup& buttons = group(which);
    auto* button = value ? static_cast<QRadioButton*>(buttons.button(*value)) : nullptr;
    Check(buttons, button);
}

void QtOptionenView::close() {
    finish();
}

}  // namespace kw::qt
