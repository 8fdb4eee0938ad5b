#include "ui/qt/qt_main_screen_view.h"

#include <QAction>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <map>
#include <utility>

#include "core/caller_line_display.h"
#include "platform/qt/qt_text.h"
#include "ui/main_screen_layout.h"
#include "ui/main_screen_routes.h"
#include "ui/qt/phone_control_widget.h"
#include "ui/qt/program_icon.h"

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
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    frame->setMenuBar(menuBar_);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    frame->addWidget(client_);
    controls_.emplace(*client_, layout::kControls, scale);
    controls_->applyTabOrder();
    callerLine_ = &controls_->get<QLabel>("LBL_Anrufer");
    action_ = &controls_->get<QPushButton>("BTN_Db");
    callerLine_->installEventFilter(this);  // refits the numbers to a new size

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
    for (const ui::MainScreenRoute& route : ui::kMainScreenRoutes) {
        auto call = [&presenter, handler = route.handler] { (presenter.*handler)(); };
        switch (route.trigger) {
            case ui::RouteTrigger::Click:
                connect(&controls_->get<QPushButton>(route.name), &QPushButton::clicked, this,
                        call);
                break;
            case ui::RouteTrigger::DoubleClick: {
                QWidget& control = controls_->widget(route.name);
                control.installEventFilter(this);
                doubleClicks_[&control] = call;
                break;
            }
            case ui::RouteTrigger::Menu:
                connect(findChild<QAction*>(ToQString(route.name)), &QAction::triggered, this,
                        call);
                break;
        }
    }
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
    shownNumbers_.reset();
    callerLine_->setText(ToQString(text));
    callerLine_->setAccessibleName(QString());
    callerLine_->setToolTip(ToQString(layout::kCallerLineTooltip));
}

void QtMainScreenView::showCallerLine(std::string_view callerNumber, std::string_view calledNumber,
                                      std::string_view callerName) {
    shownName_ = callerName;
    shownNumbers_.emplace(callerNumber, calledNumber);
    fitCallerLine();
}

void QtMainScreenView::fitCallerLine() {
    if (!shownNumbers_) {
        return;
    }
    const QFontMetrics metrics = callerLine_->fontMetrics();
    // A blank's room, so that a shortened line does not touch the frame.
    const int width = callerLine_->contentsRect().width() - 2 * callerLine_->margin() -
                      metrics.horizontalAdvance(QLatin1Char(' '));
    const CallerLineDisplay display = FitCallerLine(
        shownNumbers_->first, shownNumbers_->second, width,
        [&metrics](std::string_view text) { return metrics.horizontalAdvance(ToQString(text)); },
        shownName_);
    callerLine_->setText(ToQString(display.shown));
    // A screen reader reads the whole line, not what fits.
    callerLine_->setAccessibleName(ToQString(display.whole));
    const QString hint = ToQString(layout::kCallerLineTooltip);
    // Rich text on purpose: as plain text, a caller's markup could decide how Qt shows the tip.
    callerLine_->setToolTip(display.shortened() ? "<p style=\"white-space:pre-wrap\">" +
                                                      ToQString(display.whole).toHtmlEscaped() +
                                                      "<br>" + hint.toHtmlEscaped() + "</p>"
                                                : hint);
}

void QtMainScreenView::setActionEnabled(bool enabled) {
    action_->setEnabled(enabled);
}

void QtMainScreenView::setCaption(std::string_view text) {
    setWindowTitle(ToQString(text));
    // A minimized window is known by its icon text, to screen readers too.
    setWindowIconText(ToQString(text));
}

void QtMainScreenView::setActionCaption(std::string_view text) {
    action_->setText(ToQString(text));
}

void QtMainScreenView::showMissedCalls(int count) {
    controls_->get<QLabel>("LBL_Verpasst").setText(ToQString(ui::MissedCallsText(count)));
}

void QtMainScreenView::endProgram() {
    endProgram_();
}

void QtMainScreenView::showCallSources(const std::vector<platform::CallSourceStatus>& statuses) {
    phoneControl().showStatus(ui::AnyReceiving(statuses), ui::CallSourcesTooltip(statuses));
}

bool QtMainScreenView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == callerLine_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::FontChange)) {
        fitCallerLine();  // a new size or DPI gives the numbers another width
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (auto route = doubleClicks_.find(watched); route != doubleClicks_.end()) {
            route->second();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kw::qt
