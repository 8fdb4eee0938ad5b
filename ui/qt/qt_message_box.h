#pragma once

#include <functional>

#include "platform/message_box.h"

class QMessageBox;

namespace kw::qt {

// Message boxes as QMessageBox, with the text shown as plain text.
class QtMessageBox final : public platform::MessageBox {
  public:
    // Runs the finished box until the user has closed it.
    using Runner = std::function<void(QMessageBox& box)>;

    // The box runs modally (exec).
    QtMessageBox();
    // For tests: `runner` answers the box in place of the user.
    explicit QtMessageBox(Runner runner);

    platform::MessageAnswer show(std::string_view text, std::string_view title,
                                 platform::MessageIcon icon,
                                 platform::MessageButtons buttons) override;

  private:
    Runner runner_;
};

}  // namespace kw::qt
