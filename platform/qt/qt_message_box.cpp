#include "platform/qt/qt_message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>

#include "platform/qt/german_translation.h"
#include "platform/qt/qt_text.h"

namespace kw::qt {

namespace {

QMessageBox::Icon QtIcon(platform::MessageIcon icon) {
    switch (icon) {
        case platform::MessageIcon::Information:
            return QMessageBox::Information;
        case platform::MessageIcon::Critical:
            return QMessageBox::Critical;
        case platform::MessageIcon::Question:
            return QMessageBox::Question;
        case platform::MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QtMessageBox::QtMessageBox(QIcon windowIcon, GermanTranslation* german)
    : QtMessageBox([](QMessageBox& box) { box.exec(); }, std::move(windowIcon)) {
    german_ = german;
}

QtMessageBox::QtMessageBox(Runner runner, QIcon windowIcon)
    : runner_(std::move(runner)), windowIcon_(std::move(windowIcon)) {}

platform::MessageAnswer QtMessageBox::show(std::string_view text, std::string_view title,
                                           platform::MessageIcon icon,
                                           platform::MessageButtons buttons) {
    if (german_ != nullptr) {
        german_->need();
    }
    QMessageBox box;
    box.setWindowIcon(windowIcon_);
    box.setWindowTitle(ToQString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(text));
    box.setIcon(QtIcon(icon));
    const bool yesNo = buttons == platform::MessageButtons::YesNo;
    if (yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    runner_(box);
    if (!yesNo) {
        return platform::MessageAnswer::Ok;
    }
    // Closed without a choice counts as No.
    return box.clickedButton() == box.button(QMessageBox::Yes) ? platform::MessageAnswer::Yes
                                                               : platform::MessageAnswer::No;
}

}  // namespace kw::qt
