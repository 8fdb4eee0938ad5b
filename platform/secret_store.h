#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/failure.h"

namespace kw::platform {

// Whose password: a SIP account is the server with the user on it.
struct SecretAccount {
    std::string server;
    std::string user;
};

// The desktop's store for passwords, which keeps them encrypted and out of the settings file.
// Every call may take a while (a service over IPC, an unlock prompt) but returns within a bound
// of its backend. Failures carry a German description and never throw.
class SecretStore {
  public:
    virtual ~SecretStore() = default;

    // Absent when passwords can be kept safely; otherwise why not (no service, locked and the
    // unlock refused, no answer in time).
    [[nodiscard]] virtual MaybeFailure available() = 0;

    // The stored password; absent when none is stored for the account.
    virtual Result<std::optional<std::string>> read(const SecretAccount& account) = 0;

    // Replaces the account's password.
    [[nodiscard]] virtual MaybeFailure store(const SecretAccount& account,
                                             std::string_view password) = 0;

    // Removes the account's password; erasing what is not stored is no failure.
    [[nodiscard]] virtual MaybeFailure erase(const SecretAccount& account) = 0;
};

}  // namespace kw::platform
