#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/shared_module.h"
#include "platform/secret_store.h"

namespace kw::app {

// The desktop's password store from its module, loaded on first use: most runs never need a
// password, and the store brings GLib and D-Bus along. A module that does not load is a failure
// of every call, and the next call tries again.
class LazySecretStore final : public platform::SecretStore {
  public:
    explicit LazySecretStore(std::vector<std::string> directories = posix::ModuleDirectories());
    LazySecretStore(const LazySecretStore&) = delete;
    LazySecretStore& operator=(const LazySecretStore&) = delete;

    [[nodiscard]] MaybeFailure available() override;
    Result<std::optional<std::string>> read(const platform::SecretAccount& account) override;
    [[nodiscard]] MaybeFailure store(const platform::SecretAccount& account,
                                     std::string_view password) override;
    [[nodiscard]] MaybeFailure erase(const platform::SecretAccount& account) override;

  private:
    Result<platform::SecretStore*> loaded();

    std::vector<std::string> directories_;
    // In this order, so that the store goes before the module that holds its code.
    std::optional<posix::SharedModule> module_;
    std::unique_ptr<platform::SecretStore> store_;
};

}  // namespace kw::app
