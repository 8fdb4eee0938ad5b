#include "app/lazy_secret_store.h"

#include <utility>

#include "platform/posix/module_entries.h"

namespace kw::app {

LazySecretStore::LazySecretStore(std::vector<std::string> directories)
    : directories_(std::move(directories)) {}

Result<platform::SecretStore*> LazySecretStore::loaded() {
    if (!store_) {
        auto made = posix::OpenEntry<platform::MakeSecretStore>(
            platform::kSecretsModule, platform::kMakeSecretStore, directories_);
        if (!made.ok()) {
            return Failure{made.failure().number,
                           "Passwortspeicher nicht verfügbar (" + made.failure().description + ")"};
        }
        store_.reset(made.value().function());
        module_ = std::move(made.value().module);
    }
    return store_.get();
}

MaybeFailure LazySecretStore::available() {
    auto store = loaded();
    return store.ok() ? store.value()->available() : store.failure();
}

Result<std::optional<std::string>> LazySecretStore::read(const platform::SecretAccount& account) {
    auto store = loaded();
    if (!store.ok()) {
        return store.failure();
    }
    return store.value()->read(account);
}

MaybeFailure LazySecretStore::store(const platform::SecretAccount& account,
                                    std::string_view password) {
    auto store = loaded();
    return store.ok() ? store.value()->store(account, password) : store.failure();
}

MaybeFailure LazySecretStore::erase(const platform::SecretAccount& account) {
    auto store = loaded();
    return store.ok() ? store.value()->erase(account) : store.failure();
}

}  // namespace kw::app
