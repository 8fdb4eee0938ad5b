#include "platform/win32/win32_file_dialog.h"

#include <cstdio>
#include <new>
#include <vector>

#include "core/error_numbers.h"
#include "platform/win32/wide_text.h"

#include <commdlg.h>
#include <shlobj.h>

namespace kw::win32 {

namespace {

constexpr std::size_t kLongestPath = 32768;

Failure DialogFailure(DWORD code) {
    switch (code) {
        case FNERR_INVALIDFILENAME:
            return MakeFailure(kw::error::kBadFileName);
        case CDERR_MEMALLOCFAILURE:
        case CDERR_MEMLOCKFAILURE:
            return MakeFailure(kw::error::kOutOfMemory);
        default: {
            char hex[16];
            std::snprintf(hex, sizeof(hex), "0x%04lX", static_cast<unsigned long>(code));
            return Failure{kw::error::kInternal,
                           ErrorDescription(kw::error::kInternal) +
                               ": Das Dateiauswahlfenster konnte nicht angezeigt werden "
                               "(Dialogfehler " +
                               hex + ")"};
        }
    }
}

}  // namespace

std::wstring Win32FileDialog::filterText(std::string_view pattern) {
    if (pattern.empty()) {
        return {};
    }
    const std::wstring wide = Utf8ToWide(pattern);
    std::wstring filter = wide;
    filter += L'\0';
    filter += wide;
    filter += L'\0';
    filter += L'\0';
    return filter;
}

Result<std::string> Win32FileDialog::openFile(std::string_view title, std::string_view fileName,
                                              std::string_view filter) {
    return run(title, fileName, filter, false);
}

Result<std::string> Win32FileDialog::saveFile(std::string_view title, std::string_view fileName,
                                              std::string_view filter) {
    return run(title, fileName, filter, true);
}

Result<std::string> Win32FileDialog::run(std::string_view title, std::string_view fileName,
                                         std::string_view filter, bool save) {
    try {
        const std::wstring wideTitle = Utf8ToWide(title);
        const std::wstring preset = Utf8ToWide(fileName);
        const std::wstring filterPairs = filterText(filter);
        std::vector<wchar_t> buffer(preset.size() < kLongestPath ? kLongestPath
                                                                 : preset.size() + 1);
        preset.copy(buffer.data(), preset.size());

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = owner_ ? owner_() : nullptr;
        dialog.lpstrFilter = filterPairs.empty() ? nullptr : filterPairs.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
                       OFN_DONTADDTORECENT |
                       (save ? static_cast<DWORD>(OFN_OVERWRITEPROMPT) : OFN_FILEMUSTEXIST);
        // The pattern's extension without "*.", for names typed without one.
        const std::wstring extension =
            filter.starts_with("*.") ? Utf8ToWide(filter.substr(2)) : std::wstring();
        dialog.lpstrDefExt = save && !extension.empty() ? extension.c_str() : nullptr;
        if (save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog)) {
            return WideToUtf8(buffer.data());
        }
        const DWORD code = CommDlgExtendedError();
        if (code == 0) {
            return std::string(fileName);  // cancelled
        }
        return DialogFailure(code);
    } catch (const std::bad_alloc&) {
        return MakeFailure(kw::error::kOutOfMemory);
    }
}

Result<std::string> Win32FileDialog::openFolder(std::string_view title) {
    try {
        const std::wstring wideTitle = Utf8ToWide(title);
        BROWSEINFOW browse{};
        browse.hwndOwner = owner_ ? owner_() : nullptr;
        browse.lpszTitle = wideTitle.c_str();
        browse.ulFlags = BIF_RETURNONLYFSDIRS;
        PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
        if (chosen == nullptr) {
            return std::string();  // cancelled
        }
        std::vector<wchar_t> buffer(kLongestPath);
        const bool named = SHGetPathFromIDListEx(chosen, buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), GPFIDL_DEFAULT);
        CoTaskMemFree(chosen);
        if (!named) {
            return MakeFailure(kw::error::kBadFileName);
        }
        return WideToUtf8(buffer.data());
    } catch (const std::bad_alloc&) {
        return MakeFailure(kw::error::kOutOfMemory);
    }
}

}  // namespace kw::win32
