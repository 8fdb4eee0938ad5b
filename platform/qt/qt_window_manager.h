#pragma once

#include "platform/window_manager.h"

class QWidget;

namespace kw::qt {

// The window manager's operations on one top-level widget. Before the first show they only set
// the state that the show then uses.
class QtWindowManager final : public platform::WindowManager {
  public:
    explicit QtWindowManager(QWidget& window) : window_(window) {}

    void minimize() override;
    void restore() override;
    void setKeepOnTop(bool onTop) override;
    void bringToFront() override;

  private:
    QWidget& window_;
};

}  // namespace kw::qt
