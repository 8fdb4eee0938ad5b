#include "tests/win32/gui/substitute_phone_absence.h"

#include <optional>
#include <string>
#include <string_view>

#include "tests/win32/gui/child_process.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::win32::gui {

namespace {

constexpr wchar_t kRegistrationProgram[] = L"kw_substitute_phone_register.exe";

// The registration program lies next to the control, and the registry says where that is: the
// tests need not know the layout of the build directory.
std::filesystem::path RegistrationProgram() {
    const std::wstring key = std::wstring(L"Software\\Classes\\CLSID\\") +
                             test::phone::kClassIdText + L"\\InprocServer32";
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring server(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                     server.data(), &bytes) != ERROR_SUCCESS) {
        return {};
    }
    server.resize(server.find(L'\0'));
    return std::filesystem::path(server).parent_path() / kRegistrationProgram;
}

bool Run(const std::filesystem::path& program, std::wstring_view arguments) {
    const ChildProcess registration(program, arguments);
    return registration.started() && registration.awaitExit() == 0u;
}

}  // namespace

SubstitutePhoneAbsence::SubstitutePhoneAbsence() : registration_(RegistrationProgram()) {
    removed_ = !registration_.empty() && Run(registration_, L"/u");
}

SubstitutePhoneAbsence::~SubstitutePhoneAbsence() {
    restore();
}

bool SubstitutePhoneAbsence::restore() {
    // Also after a failed removal, which may have taken out part of the registration.
    if (!registration_.empty() && !restored_) {
        restored_ = Run(registration_, L"");
    }
    return registration_.empty() || restored_;
}

}  // namespace kw::win32::gui
