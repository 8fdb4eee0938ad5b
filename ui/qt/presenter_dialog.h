#pragma once

#include <QDialog>

#include <functional>

class QPushButton;

namespace kw::qt {

// A modal dialog whose OK and Cancel belong to a presenter: the presenter closes it, accepted
// when that happens from OK; Esc and the frame's close box are the presenter's cancel.
class PresenterDialog : public QDialog {
  protected:
    void connectOkCancel(QPushButton& ok, QPushButton& cancel, std::function<void()> onOk,
                         std::function<void()> onCancel);

    // Ends exec(): accepted while OK's handler runs, rejected otherwise.
    void finish();

    void reject() override;

  private:
    std::function<void()> onCancel_;
    bool inOk_ = false;
};

}  // namespace kw::qt
