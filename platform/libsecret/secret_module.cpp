// The Secret Service store with GLib and libsecret, loaded when a password is first needed.
#include <type_traits>

#include "platform/libsecret/secret_service_store.h"
#include "platform/posix/module_entries.h"

KW_MODULE_ENTRY kw::platform::SecretStore* kw_make_secret_store() {
    return new kw::platform::SecretServiceStore();
}

// The loader calls through this type; a changed signature must not compile.
static_assert(std::is_same_v<decltype(&kw_make_secret_store), kw::platform::MakeSecretStore>);
