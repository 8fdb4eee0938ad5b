#pragma once

#include <string>
#include <string_view>

#include "platform/failure.h"

namespace kw::platform {

// The desktop's modal file dialogs.
class FileDialog {
  public:
    virtual ~FileDialog() = default;

    // Shows the dialog with the title, the preset file name and the filter pattern, and returns
    // the full path of the chosen file, or the preset file name unchanged when the user cancels.
    // A dialog that cannot be shown is a failure. Never throws.
    virtual Result<std::string> openFile(std::string_view title, std::string_view fileName,
                                         std::string_view filter) = 0;

    // Shows a dialog that chooses an existing folder and returns its full path, or the empty
    // text when the user cancels. A dialog that cannot be shown is a failure. Never throws.
    virtual Result<std::string> openFolder(std::string_view title) = 0;
    // The desktop's save dialog, with the same arguments and answers; it asks before a file that
    // exists is replaced.
    virtual Result<std::string> saveFile(std::string_view title, std::string_view fileName,
                                         std::string_view filter) = 0;
};

}  // namespace kw::platform
