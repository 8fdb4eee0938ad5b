#include "ui/qt/qt_optionen_view.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include <initializer_list>

#include "platform/qt/qt_text.h"
#include "ui/optionen_layout.h"
#include "ui/qt/control_font.h"
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

// Tab enters an option group at its selected button, or at its first while none is selected;
// the arrow keys move within the group.
void KeepTabStopAtSelection(QButtonGroup& group) {
    QAbstractButton* stop = group.checkedButton();
    if (stop == nullptr && !group.buttons().isEmpty()) {
        stop = group.buttons().front();
    }
    for (QAbstractButton* button : group.buttons()) {
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
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
    setObjectName(ToQString(layout::kWindow.name));
    setWindowTitle(ToQString(layout::kWindow.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    setModal(true);
    setSizeGripEnabled(false);
    setFont(ControlFont({}));

    const TwipsScale scale = TwipsScale::of(screen());
    const QSize client = scale.size(layout::kWindow.clientWidth, layout::kWindow.clientHeight);
    setFixedSize(client);

    controls_.emplace(*this, layout::kControls, scale);
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

    for (const char* name : {"OPT_NurAnrufer", "OPT_Beide"}) {
        parameterGroup_.addButton(&option(name));
    }
    for (const char* name : {"OPT_ShowMinimized", "OPT_ShowNormal", "OPT_ShowAlways"}) {
        startGroup_.addButton(&option(name));
    }
    for (const char* name : {"OPT_Original", "OPT_NurZahlen"}) {
        formatGroup_.addButton(&option(name));
    }
    for (QButtonGroup* group : {&parameterGroup_, &startGroup_, &formatGroup_}) {
        KeepTabStopAtSelection(*group);
        connect(group, &QButtonGroup::buttonToggled, this,
                [group] { KeepTabStopAtSelection(*group); });
    }
    controls_->get<QPushButton>(layout::kDefaultButton).setDefault(true);
    controls_->applyTabOrder();

    setGeometry(QRect(
        ScreenOrigin(screen()) + scale.point(layout::kWindow.screenLeft, layout::kWindow.screenTop),
        client));
}

void QtOptionenView::connectTo(ui::Optionen& presenter) {
    presenter_ = &presenter;
    auto wire = [this](const char* name, auto handler) {
        connect(&controls_->get<QPushButton>(name), &QPushButton::clicked, this, handler);
    };
    wire("BTN_Anrufer", [&presenter] { presenter.anruferClicked(); });
    wire("BTN_MSN", [&presenter] { presenter.msnClicked(); });
    wire("BTN_ShowShell", [&presenter] { presenter.showShellClicked(); });
    wire("BTN_FileSelect", [&presenter] { presenter.fileSelectClicked(); });
    wire("CancelButton", [&presenter] { presenter.cancelClicked(); });
    wire("OKButton", [this, &presenter] {
        inOk_ = true;
        presenter.okClicked();
        inOk_ = false;
    });
}

QLineEdit& QtOptionenView::box(ui::OptionenText which) const {
    switch (which) {
        case ui::OptionenText::Db:
            return controls_->get<QLineEdit>("TXT_Db");
        case ui::OptionenText::Proc:
            return controls_->get<QLineEdit>("TXT_Proc");
        case ui::OptionenText::Shell:
            break;
    }
    return controls_->get<QLineEdit>("TXT_Shell");
}

QRadioButton& QtOptionenView::option(const char* name) const {
    return controls_->get<QRadioButton>(name);
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

ui::ParameterChoice QtOptionenView::parameterChoice() {
    if (option("OPT_NurAnrufer").isChecked()) {
        return ui::ParameterChoice::NurAnrufer;
    }
    return option("OPT_Beide").isChecked() ? ui::ParameterChoice::Beide : ui::ParameterChoice::None;
}

void QtOptionenView::setParameterChoice(ui::ParameterChoice choice) {
    switch (choice) {
        case ui::ParameterChoice::NurAnrufer:
            return Check(parameterGroup_, &option("OPT_NurAnrufer"));
        case ui::ParameterChoice::Beide:
            return Check(parameterGroup_, &option("OPT_Beide"));
        case ui::ParameterChoice::None:
            break;
    }
    Check(parameterGroup_, nullptr);
}

ui::StartChoice QtOptionenView::startChoice() {
    if (option("OPT_ShowMinimized").isChecked()) {
        return ui::StartChoice::Minimized;
    }
    if (option("OPT_ShowNormal").isChecked()) {
        return ui::StartChoice::Normal;
    }
    return option("OPT_ShowAlways").isChecked() ? ui::StartChoice::Always : ui::StartChoice::None;
}

void QtOptionenView::setStartChoice(ui::StartChoice choice) {
    switch (choice) {
        case ui::StartChoice::Minimized:
            return Check(startGroup_, &option("OPT_ShowMinimized"));
        case ui::StartChoice::Normal:
            return Check(startGroup_, &option("OPT_ShowNormal"));
        case ui::StartChoice::Always:
            return Check(startGroup_, &option("OPT_ShowAlways"));
        case ui::StartChoice::None:
            break;
    }
    Check(startGroup_, nullptr);
}

ui::FormatChoice QtOptionenView::formatChoice() {
    if (option("OPT_Original").isChecked()) {
        return ui::FormatChoice::Original;
    }
    return option("OPT_NurZahlen").isChecked() ? ui::FormatChoice::NurZahlen
                                               : ui::FormatChoice::None;
}

void QtOptionenView::setFormatChoice(ui::FormatChoice choice) {
    switch (choice) {
        case ui::FormatChoice::Original:
            return Check(formatGroup_, &option("OPT_Original"));
        case ui::FormatChoice::NurZahlen:
            return Check(formatGroup_, &option("OPT_NurZahlen"));
        case ui::FormatChoice::None:
            break;
    }
    Check(formatGroup_, nullptr);
}

void QtOptionenView::close() {
    if (inOk_) {
        QDialog::accept();
    } else {
        QDialog::reject();
    }
}

void QtOptionenView::reject() {
    if (presenter_ != nullptr) {
        presenter_->cancelClicked();
    } else {
        QDialog::reject();
    }
}

}  // namespace kw::qt
