#pragma once

#include <functional>

#include "platform/file_dialog.h"

class QFileDialog;

namespace kw::qt {

class GermanTranslation;

// The file-open dialog as Qt's own QFileDialog: the same look and behaviour on every desktop,
// and no portal or desktop helper that could keep a modal call waiting.
class QtFileDialog final : public platform::FileDialog {
  public:
    // Runs the finished dialog until the user has closed it.
    using Runner = std::function<void(QFileDialog& dialog)>;

    // The dialog runs modally (exec); `german`, when given, is needed before each dialog.
    explicit QtFileDialog(GermanTranslation* german = nullptr);
    // For tests: `runner` answers the dialog in place of the user.
    explicit QtFileDialog(Runner runner);

    Result<std::string> openFile(std::string_view title, std::string_view fileName,
                                 std::string_view filter) override;
    Result<std::string> openFolder(std::string_view title) override;
    Result<std::string> saveFile(std::string_view title, std::string_view fileName,
                                 std::string_view filter) override;

  private:
    std::string run(std::string_view title, std::string_view fileName, std::string_view filter,
                    bool save);

    // Before the dialog is made: its widgets take their texts then.
    void needGerman() const;

    Runner runner_;
    GermanTranslation* german_ = nullptr;
};

}  // namespace kw::qt
