#include "platform/qt/qt_file_dialog.h"

#include <QFile>
#include <QFileDialog>

#include <utility>

#include "platform/qt/german_translation.h"
#include "platform/qt/qt_text.h"

namespace kw::qt {

QtFileDialog::QtFileDialog(GermanTranslation* german)
    : runner_([](QFileDialog& dialog) { dialog.exec(); }), german_(german) {}

QtFileDialog::QtFileDialog(Runner runner) : runner_(std::move(runner)) {}

Result<std::string> QtFileDialog::openFile(std::string_view title, std::string_view fileName,
                                           std::string_view filter) {
    return run(title, fileName, filter, false);
}

Result<std::string> QtFileDialog::saveFile(std::string_view title, std::string_view fileName,
                                           std::string_view filter) {
    return run(title, fileName, filter, true);
}

std::string QtFileDialog::run(std::string_view title, std::string_view fileName,
                              std::string_view filter, bool save) {
    needGerman();
    QFileDialog dialog(nullptr, ToQString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(ToQString(filter));
    dialog.selectFile(ToQString(fileName));
    runner_(dialog);
    const QStringList chosen = dialog.selectedFiles();
    if (dialog.result() != QDialog::Accepted || chosen.isEmpty()) {
        return std::string(fileName);
    }
    // The file system's own bytes, so that a name that is not UTF-8 still opens.
    return QFile::encodeName(chosen.front()).toStdString();
}

Result<std::string> QtFileDialog::openFolder(std::string_view title) {
    needGerman();
    QFileDialog dialog(nullptr, ToQString(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    runner_(dialog);
    const QStringList chosen = dialog.selectedFiles();
    if (dialog.result() != QDialog::Accepted || chosen.isEmpty()) {
        return std::string();
    }
    return QFile::encodeName(chosen.front()).toStdString();
}

void QtFileDialog::needGerman() const {
    if (german_ != nullptr) {
        german_->need();
    }
}

}  // namespace kw::qt
