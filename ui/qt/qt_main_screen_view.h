#pragma once

#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/call_sources.h"
#include "ui/main_screen.h"
#include "ui/qt/control_set.h"

class QLabel;
class QMenuBar;
class QPushButton;

namespace kw::qt {

class PhoneControlWidget;

// The main window: the caller line, the action and exit buttons, the phone and the menus, placed
// as the layout table says. Every event goes to the MainScreen presenter. A plain window with the
// menu bar above the client area: a QMainWindow brings its whole dock and tool bar machinery into
// memory for that.
class QtMainScreenView final : public QWidget,
                               public ui::MainScreenView,
                               public ui::CallSourcesView {
  public:
    // `endProgram` ends the whole program; the entry point leaves the event loop with it.
    explicit QtMainScreenView(std::function<void()> endProgram);

    // Sends the window's events to the presenter, which must outlive the window's event loop.
    void connectTo(ui::MainScreen& presenter);

    PhoneControlWidget& phoneControl() const;
    QMenuBar* menuBar() const { return menuBar_; }
    // The area the layout table places the controls in, below the menu bar.
    QWidget* centralWidget() const { return client_; }

    // The first show, in the state the load sequence left the window.
    void showAsLoaded();

    void setCallerLine(std::string_view text) override;
    void showCallerLine(std::string_view callerNumber, std::string_view calledNumber,
                        std::string_view callerName) override;
    void setActionEnabled(bool enabled) override;
    void setCaption(std::string_view text) override;
    void setActionCaption(std::string_view text) override;
    void endProgram() override;
    void showMissedCalls(int count) override;
    void showCallSources(const std::vector<platform::CallSourceStatus>& statuses) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void fitCallerLine();

    std::function<void()> endProgram_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr;
    std::optional<ControlSet> controls_;
    QLabel* callerLine_ = nullptr;
    std::string shownName_;                                            // with shownNumbers_
    std::optional<std::pair<std::string, std::string>> shownNumbers_;  // refitted on resize
    QPushButton* action_ = nullptr;
    std::map<QObject*, std::function<void()>> doubleClicks_;
};

}  // namespace kw::qt
