#pragma once

#include <QIcon>

#include <functional>

#include "platform/message_box.h"

class QMessageBox;

namespace kw::qt {

class GermanTranslation;

// Message boxes as QMessageBox, with the text shown as plain text.
class QtMessageBox final : public platform::MessageBox {
  public:
    // Runs the finished box until the user has closed it.
    using Runner = std::function<void(QMessageBox& box)>;

    // The box runs modally (exec). `windowIcon` is the program's, which this layer cannot draw;
    // `german`, when given, is needed before each box.
    explicit QtMessageBox(QIcon windowIcon = QIcon(), GermanTranslation* german = nullptr);
    // For tests: `runner` answers the box in place of the user.
    explicit QtMessageBox(Runner runner, QIcon windowIcon = QIcon());

    platform::MessageAnswer show(std::string_view text, std::string_view title,
                                 platform::MessageIcon icon,
                                 platform::MessageButtons buttons) override;

  private:
    Runner runner_;
    QIcon windowIcon_;
    GermanTranslation* german_ = nullptr;
};

}  // namespace kw::qt
