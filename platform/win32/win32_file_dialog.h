#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/file_dialog.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

// The common file-open dialog (GetOpenFileNameW), modal to the owner window. The chosen file
// must exist; the current directory is left as it was (OFN_NOCHANGEDIR), because program
// starts may depend on it. The buffer holds the longest path Windows allows.
class Win32FileDialog final : public platform::FileDialog {
  public:
    // Asked at every opening, since the window on top changes while the program runs.
    using Owner = std::function<HWND()>;

    explicit Win32FileDialog(HWND owner = nullptr) : owner_([owner] { return owner; }) {}
    explicit Win32FileDialog(Owner owner) : owner_(std::move(owner)) {}

    Result<std::string> openFile(std::string_view title, std::string_view fileName,
                                 std::string_view filter) override;
    Result<std::string> openFolder(std::string_view title) override;
    // GetSaveFileNameW; asks before replacing a file, and adds the pattern's extension to a name
    // typed without one.
    Result<std::string> saveFile(std::string_view title, std::string_view fileName,
                                 std::string_view filter) override;

    // The filter pair for a pattern ("*.mdb" -> "*.mdb\0*.mdb\0\0"): Windows needs a
    // description beside each pattern, and the pattern is the plainest one. Empty for none.
    static std::wstring filterText(std::string_view pattern);

  private:
    Result<std::string> run(std::string_view title, std::string_view fileName,
                            std::string_view filter, bool save);

    Owner owner_;
};

}  // namespace kw::win32
