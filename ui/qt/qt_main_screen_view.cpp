#include "ui/qt/qt_main_screen_view.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>

#include <map>
#include <utility>

#include "ui/main_screen_layout.h"
#include "ui/qt/phone_control_widget.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/qt_text.h"

namespace kw::qt {

namespace layout = ui::main_screen;

QtMainScreenView::QtMainScreenView(std::function<void()> endProgram)
    : endProgram_(std::move(endProgram)) {
    setObjectName(ToQString(layout::kWindow.name));
    // Sizable, minimizable, closable; a maximized window would only stretch empty space.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());

    const TwipsScale scale = TwipsScale::of(screen());
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    controls_.emplace(*client, layout::kControls, scale);
    controls_->applyTabOrder();
    callerLine_ = &controls_->get<QLabel>("LBL_Anrufer");
    callerLine_->installEventFilter(this);
    action_ = &controls_->get<QPushButton>("BTN_Db");

    buildMenus();

    const int clientWidth = scale.pixels(layout::kWindow.clientWidth);
    const int menuHeight = menuBar()->heightForWidth(clientWidth) > 0
                               ? menuBar()->heightForWidth(clientWidth)
                               : menuBar()->sizeHint().height();
    resize(clientWidth, menuHeight + scale.pixels(layout::kWindow.clientHeight));
    move(ScreenOrigin(screen()) +
         scale.point(layout::kWindow.screenLeft, layout::kWindow.screenTop));
}

void QtMainScreenView::buildMenus() {
    std::map<std::string_view, QMenu*> menus;
    for (const ui::MenuEntry& entry : layout::kMenus) {
        if (entry.parent.empty()) {
            QMenu* menu = menuBar()->addMenu(ToQString(entry.caption));
            menu->setObjectName(ToQString(entry.name));
            menus.emplace(entry.name, menu);
            continue;
        }
        QMenu* menu = menus.at(entry.parent);
        QAction* action =
            entry.caption == "-" ? menu->addSeparator() : menu->addAction(ToQString(entry.caption));
        action->setObjectName(ToQString(entry.name));
        if (!entry.shortcut.empty()) {
            action->setShortcut(
                QKeySequence(ToQString(entry.shortcut), QKeySequence::PortableText));
        }
    }
}

void QtMainScreenView::connectTo(ui::MainScreen& presenter) {
    auto menuAction = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
    connect(action_, &QPushButton::clicked, this, [&presenter] { presenter.actionClicked(); });
    connect(&controls_->get<QPushButton>("BTN_End"), &QPushButton::clicked, this,
            [&presenter] { presenter.endClicked(); });
    connect(menuAction("mnuDel"), &QAction::triggered, this,
            [&presenter] { presenter.callerLineDoubleClicked(); });
    connect(menuAction("mnuOptionen"), &QAction::triggered, this,
            [&presenter] { presenter.optionenChosen(); });
    connect(menuAction("mnuBeenden"), &QAction::triggered, this,
            [&presenter] { presenter.endClicked(); });
    connect(menuAction("mnuHilfe"), &QAction::triggered, this,
            [&presenter] { presenter.helpChosen(); });
    connect(menuAction("mnuInfo"), &QAction::triggered, this,
            [&presenter] { presenter.infoChosen(); });
    onCallerLineDoubleClick_ = [&presenter] { presenter.callerLineDoubleClicked(); };
}

PhoneControlWidget& QtMainScreenView::phoneControl() const {
    return controls_->get<PhoneControlWidget>("axPhoner1");
}

void QtMainScreenView::showAsLoaded() {
    if (windowState().testFlag(Qt::WindowMinimized)) {
        showMinimized();
    } else {
        show();
    }
}

void QtMainScreenView::setCallerLine(std::string_view text) {
    callerLine_->setText(ToQString(text));
}

void QtMainScreenView::setActionEnabled(bool enabled) {
    action_->setEnabled(enabled);
}

void QtMainScreenView::setCaption(std::string_view text) {
    setWindowTitle(ToQString(text));
}

void QtMainScreenView::setActionCaption(std::string_view text) {
    action_->setText(ToQString(text));
}

void QtMainScreenView::endProgram() {
    endProgram_();
}

void QtMainScreenView::showCallSources(const std::vector<platform::CallSourceStatus>& statuses) {
    phoneControl().showStatus(ui::AnyReceiving(statuses), ui::CallSourcesTooltip(statuses));
}

bool QtMainScreenView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == callerLine_ && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (onCallerLineDoubleClick_) {
            onCallerLineDoubleClick_();
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kw::qt
