#include "platform/win32/credential_store.h"

#include <memory>
#include <vector>

#include "core/error_numbers.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"

#include <wincred.h>

namespace kw::win32 {

namespace {

struct CredFreer {
    void operator()(CREDENTIALW* credential) const { CredFree(credential); }
};

Failure CredentialFailure(DWORD code) {
    return FailureWithWin32Detail(kw::error::kCannotCreateObject, code);
}

}  // namespace

std::wstring CredentialStore::targetName(const platform::SecretAccount& account) {
    return L"Klingelwart:" + Utf8ToWide(account.user) + L"@" + Utf8ToWide(account.server);
}

MaybeFailure CredentialStore::available() {
    return std::nullopt;  // every Windows user has one
}

Result<std::optional<std::string>> CredentialStore::read(const platform::SecretAccount& account) {
    const std::wstring target = targetName(account);
    CREDENTIALW* raw = nullptr;
    if (!CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &raw)) {
        const DWORD code = GetLastError();
        if (code == ERROR_NOT_FOUND) {
            return std::optional<std::string>();
        }
        return CredentialFailure(code);
    }
    const std::unique_ptr<CREDENTIALW, CredFreer> credential(raw);
    const auto* bytes = reinterpret_cast<const char*>(credential->CredentialBlob);
    return std::optional<std::string>(std::string(bytes, credential->CredentialBlobSize));
}

MaybeFailure CredentialStore::store(const platform::SecretAccount& account,
                                    std::string_view password) {
    std::wstring target = targetName(account);
    std::wstring user = Utf8ToWide(account.user);
    std::vector<BYTE> blob(password.begin(), password.end());
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.UserName = user.data();
    credential.CredentialBlobSize = static_cast<DWORD>(blob.size());
    credential.CredentialBlob = blob.empty() ? nullptr : blob.data();
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    const bool written = CredWriteW(&credential, 0) != FALSE;
    const DWORD code = written ? 0 : GetLastError();
    SecureZeroMemory(blob.data(), blob.size());
    if (!written) {
        return CredentialFailure(code);
    }
    return std::nullopt;
}

MaybeFailure CredentialStore::erase(const platform::SecretAccount& account) {
    const std::wstring target = targetName(account);
    if (!CredDeleteW(target.c_str(), CRED_TYPE_GENERIC, 0)) {
        const DWORD code = GetLastError();
        if (code != ERROR_NOT_FOUND) {
            return CredentialFailure(code);
        }
    }
    return std::nullopt;
}

}  // namespace kw::win32
