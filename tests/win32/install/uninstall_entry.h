#pragma once

#include <map>
#include <optional>
#include <string>

namespace kw::win32::install {

// The installer's entry in Apps & Features, read from the 64-bit view of HKLM as Windows does.
class UninstallEntry {
  public:
    static constexpr wchar_t kKeyPath[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Klingelwart";

    static bool exists();
    // Every value as text: REG_SZ as is, REG_DWORD in decimal, anything else "<type N>".
    static std::map<std::wstring, std::wstring> values();
    static void remove();
};

}  // namespace kw::win32::install
