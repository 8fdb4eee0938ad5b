#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/secret_store.h"

namespace kw::win32 {

// Passwords in the user's Windows Credential Manager, as generic credentials kept for this user
// on this machine; Windows encrypts them with the user's logon. One credential per account,
// named after the program, the server and the user.
class CredentialStore final : public platform::SecretStore {
  public:
    MaybeFailure available() override;
    Result<std::optional<std::string>> read(const platform::SecretAccount& account) override;
    MaybeFailure store(const platform::SecretAccount& account, std::string_view password) override;
    MaybeFailure erase(const platform::SecretAccount& account) override;

    // "Klingelwart:<user>@<server>": what the Credential Manager lists.
    static std::wstring targetName(const platform::SecretAccount& account);
};

}  // namespace kw::win32
