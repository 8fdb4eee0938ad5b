#include "ui/qt/qt_telefonbuecher_view.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <array>

#include "platform/qt/qt_text.h"
#include "ui/telefonbuecher_layout.h"

namespace kw::qt {

namespace layout = ui::telefonbuecher;

QtTelefonbuecherView::QtTelefonbuecherView() {
    layOut(layout::kWindow, layout::kControls);
    box(ui::BookText::CardDAVPasswort).setPlaceholderText(ToQString(layout::kPasswordPlaceholder));
    controls_->get<QPushButton>(layout::kDefaultButton).setDefault(true);
    // File names are shown as they are, never as markup.
    controls_->get<QLabel>(layout::kStatus).setTextFormat(Qt::PlainText);
    controls_->applyTabOrder();
}

void QtTelefonbuecherView::connectTo(ui::Telefonbuecher& presenter) {
    const std::array<std::pair<std::string_view, void (ui::Telefonbuecher::*)()>, 5> clicks{{
        {"BTN_Datei", &ui::Telefonbuecher::addFileClicked},
        {"BTN_Ordner", &ui::Telefonbuecher::addFolderClicked},
        {"BTN_Entfernen", &ui::Telefonbuecher::removeClicked},
        {"BTN_Oben", &ui::Telefonbuecher::upClicked},
        {"BTN_Unten", &ui::Telefonbuecher::downClicked},
    }};
    for (const auto& [name, handler] : clicks) {
        connect(&controls_->get<QPushButton>(name), &QPushButton::clicked, this,
                [&presenter, handler] { (presenter.*handler)(); });
    }
    connect(&list(), &QListWidget::currentRowChanged, this,
            [&presenter] { presenter.selectionChanged(); });
    connectOkCancel(
        controls_->get<QPushButton>(layout::kDefaultButton),
        controls_->get<QPushButton>(layout::kCancelButton), [&presenter] { presenter.okClicked(); },
        [&presenter] { presenter.cancelClicked(); });
}

QLineEdit& QtTelefonbuecherView::box(ui::BookText which) const {
    return controls_->get<QLineEdit>(layout::kTextNames.at(static_cast<std::size_t>(which)));
}

QListWidget& QtTelefonbuecherView::list() const {
    return controls_->get<QListWidget>(layout::kFileList);
}

std::string QtTelefonbuecherView::text(ui::BookText which) {
    return ToUtf8(box(which).text());
}

void QtTelefonbuecherView::setText(ui::BookText which, std::string_view text) {
    box(which).setText(ToQString(text));
}

void QtTelefonbuecherView::focus(ui::BookText which) {
    box(which).setFocus(Qt::OtherFocusReason);
}

void QtTelefonbuecherView::setFiles(const std::vector<std::string>& files, int selected) {
    // The presenter asks for the buttons' state itself once the list is filled.
    const QSignalBlocker quiet(list());
    list().clear();
    for (const std::string& file : files) {
        list().addItem(QFile::decodeName(QByteArray::fromStdString(file)));
    }
    list().setCurrentRow(selected);
}

int QtTelefonbuecherView::selectedFile() {
    return list().currentRow();
}

void QtTelefonbuecherView::setButtonEnabled(ui::BookButton button, bool enabled) {
    controls_->widget(layout::kButtonNames.at(static_cast<std::size_t>(button)))
        .setEnabled(enabled);
}

void QtTelefonbuecherView::setStatus(std::string_view lines) {
    controls_->get<QLabel>(layout::kStatus).setText(ToQString(lines));
}

void QtTelefonbuecherView::close() {
    finish();
}

}  // namespace kw::qt
