#pragma once

#include <string>

#include "platform/autostart.h"

namespace kw::win32 {

// The value "Klingelwart" under HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run,
// holding the quoted path of the program, which Windows starts at the user's logon.
class RunKeyAutostart final : public platform::Autostart {
  public:
    // `program`: the executable's full path; `keyPath` relative to HKEY_CURRENT_USER (tests use
    // a key of their own).
    explicit RunKeyAutostart(std::wstring program, std::wstring keyPath = kRunKey);

    static constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const wchar_t* kValueName = L"Klingelwart";

    Result<bool> enabled() override;
    MaybeFailure set(bool on) override;

  private:
    std::wstring program_;
    std::wstring keyPath_;
};

}  // namespace kw::win32
