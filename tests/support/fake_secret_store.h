#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/secret_store.h"

namespace kw::test {

using Account = std::pair<std::string, std::string>;

// Passwords in a map; each call is counted, and availability and storing can be made to fail.
class FakeSecretStore : public platform::SecretStore {
  public:
    MaybeFailure available() override {
        ++calls;
        return unavailable;
    }
    Result<std::optional<std::string>> read(const platform::SecretAccount& a) override {
        ++calls;
        const auto found = passwords.find({a.server, a.user});
        return found == passwords.end() ? std::nullopt : std::optional(found->second);
    }
    MaybeFailure store(const platform::SecretAccount& a, std::string_view password) override {
        ++calls;
        if (!failStore) {
            passwords[{a.server, a.user}] = password;
        }
        return failStore;
    }
    MaybeFailure erase(const platform::SecretAccount& a) override {
        ++calls;
        passwords.erase({a.server, a.user});
        return std::nullopt;
    }

    std::map<Account, std::string> passwords;
    MaybeFailure unavailable;
    MaybeFailure failStore;
    int calls = 0;
};

}  // namespace kw::test
