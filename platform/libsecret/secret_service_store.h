#pragma once

#include <chrono>
#include <memory>

#include "platform/secret_store.h"

namespace kw::platform {

// Passwords in the desktop's Secret Service (GNOME Keyring, KWallet and others), reached over
// the session's D-Bus. Each call runs on a private GLib main context and is cancelled after
// `bound`, so a hung or absent service never holds the window for longer; an unlock prompt left
// unanswered that long counts as refused.
class SecretServiceStore final : public SecretStore {
  public:
    explicit SecretServiceStore(std::chrono::milliseconds bound = std::chrono::seconds(10));
    ~SecretServiceStore() override;
    SecretServiceStore(const SecretServiceStore&) = delete;
    SecretServiceStore& operator=(const SecretServiceStore&) = delete;

    [[nodiscard]] MaybeFailure available() override;
    Result<std::optional<std::string>> read(const SecretAccount& account) override;
    [[nodiscard]] MaybeFailure store(const SecretAccount& account,
                                     std::string_view password) override;
    [[nodiscard]] MaybeFailure erase(const SecretAccount& account) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kw::platform
