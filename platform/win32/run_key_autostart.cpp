#include "platform/win32/run_key_autostart.h"

#include <utility>

#include "core/error_numbers.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

namespace {

Failure RunKeyFailure(LSTATUS status) {
    Failure failure = FailureFromWin32(static_cast<std::uint32_t>(status), error::kPathFileAccess);
    failure.description = "Der Autostart-Eintrag lässt sich nicht ändern: " + failure.description;
    return failure;
}

}  // namespace

RunKeyAutostart::RunKeyAutostart(std::wstring program, std::wstring keyPath)
    : program_(std::move(program)), keyPath_(std::move(keyPath)) {}

Result<bool> RunKeyAutostart::enabled() {
    const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, keyPath_.c_str(), kValueName, RRF_RT_ANY,
                                        nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        return true;
    }
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) {
        return false;
    }
    return RunKeyFailure(status);
}

MaybeFailure RunKeyAutostart::set(bool on) {
    if (!on) {
        const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, keyPath_.c_str(), kValueName);
        if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ||
            status == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        return RunKeyFailure(status);
    }
    // Quoted, so that a path with blanks is not read as a program and its arguments.
    const std::wstring command = L"\"" + program_ + L"\"";
    const LSTATUS status =
        RegSetKeyValueW(HKEY_CURRENT_USER, keyPath_.c_str(), kValueName, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) {
        return RunKeyFailure(status);
    }
    return std::nullopt;
}

}  // namespace kw::win32
