#include "platform/win32/ring_pipe.h"

#include <aclapi.h>
#include <sddl.h>

#include "core/error_numbers.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"

namespace kw::win32 {

Result<UserSid> UserSid::OfThisProcess() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) {
        return FailureWithWin32Detail(error::kPathFileAccess, GetLastError());
    }
    const UniqueHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    // DWORD-sized elements keep the TOKEN_USER inside aligned.
    std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD) + 1);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(),
                             static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &size)) {
        return FailureWithWin32Detail(error::kPathFileAccess, GetLastError());
    }
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    UserSid user;
    user.bytes_.resize(GetLengthSid(sid));
    if (!CopySid(static_cast<DWORD>(user.bytes_.size()), user.get(), sid)) {
        return FailureWithWin32Detail(error::kPathFileAccess, GetLastError());
    }
    return user;
}

std::wstring UserSid::text() const {
    wchar_t* raw = nullptr;
    if (!ConvertSidToStringSidW(get(), &raw)) {
        return L"S-unbekannt";
    }
    std::wstring text(raw);
    LocalFree(raw);
    return text;
}

std::wstring RingPipeName(const UserSid& user) {
    return L"\\\\.\\pipe\\Klingelwart-" + user.text() + L"-phone";
}

bool IsOwnedBy(HANDLE handle, const UserSid& user) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const bool same = owner != nullptr && EqualSid(owner, user.get());
    LocalFree(descriptor);
    return same;
}

}  // namespace kw::win32
