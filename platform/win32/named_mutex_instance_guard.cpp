#include "platform/win32/named_mutex_instance_guard.h"

#include <iterator>
#include <new>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <sddl.h>

namespace kw::win32 {

namespace {

// The user's SID as text ("S-1-5-21-..."), or the user name when the token cannot be read.
std::wstring UserPart() {
    HANDLE rawToken = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) {
        const UniqueHandle token(rawToken);
        DWORD size = 0;
        GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
        std::vector<BYTE> buffer(size);
        if (size != 0 && GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) {
            const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
            wchar_t* text = nullptr;
            if (ConvertSidToStringSidW(user->User.Sid, &text)) {
                std::wstring sid(text);
                LocalFree(text);
                return sid;
            }
        }
    }
    wchar_t name[257] = {};
    DWORD length = static_cast<DWORD>(std::size(name));
    if (GetUserNameW(name, &length)) {
        return name;
    }
    return L"unbekannt";
}

}  // namespace

std::wstring NamedMutexInstanceGuard::mutexName(std::string_view program) {
    std::wstring name = L"Local\\" + Utf8ToWide(program) + L"-" + UserPart();
    // A backslash would name a namespace of its own.
    for (std::size_t i = 6; i < name.size(); ++i) {
        if (name[i] == L'\\' || name[i] == L'\0') {
            name[i] = L'_';
        }
    }
    return name;
}

NamedMutexInstanceGuard::NamedMutexInstanceGuard(std::string_view program) {
    try {
        const std::wstring name = mutexName(program);
        mutex_.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
        previous_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
    } catch (const std::bad_alloc&) {
        previous_ = false;
    }
}

}  // namespace kw::win32
