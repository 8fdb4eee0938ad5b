#include "platform/libsecret/secret_service_store.h"

#include <libsecret/secret.h>

#include <utility>

#include "core/error_numbers.h"

namespace kw::platform {

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <class T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct ContextUnref {
    void operator()(GMainContext* context) const { g_main_context_unref(context); }
};
struct SourceDestroy {
    void operator()(GSource* source) const {
        g_source_destroy(source);
        g_source_unref(source);
    }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;
struct HashUnref {
    void operator()(GHashTable* table) const { g_hash_table_unref(table); }
};
struct ValueUnref {
    void operator()(SecretValue* value) const { secret_value_unref(value); }
};
using ValuePtr = std::unique_ptr<SecretValue, ValueUnref>;
struct ItemsFree {
    void operator()(GList* items) const { g_list_free_full(items, g_object_unref); }
};

// Callbacks of calls started while the context is pushed arrive on it, not on the desktop
// toolkit's loop, so waiting here runs nothing of the window's.
class ThreadDefault {
  public:
    explicit ThreadDefault(GMainContext* context) : context_(context) {
        g_main_context_push_thread_default(context_);
    }
    ~ThreadDefault() { g_main_context_pop_thread_default(context_); }
    ThreadDefault(const ThreadDefault&) = delete;
    ThreadDefault& operator=(const ThreadDefault&) = delete;

  private:
    GMainContext* context_;
};

struct Finished {
    ObjectPtr<GAsyncResult> result;
    bool late = false;
};

struct Deadline {
    GCancellable* cancellable;
    bool* late;
};

void Done(GObject*, GAsyncResult* result, gpointer data) {
    static_cast<Finished*>(data)->result.reset(G_ASYNC_RESULT(g_object_ref(result)));
}

gboolean Expire(gpointer data) {
    auto* deadline = static_cast<Deadline*>(data);
    *deadline->late = true;
    g_cancellable_cancel(deadline->cancellable);
    return G_SOURCE_REMOVE;
}

constexpr std::string_view kUnreachable =
    "Kein Schlüsselbund des Desktops (Secret Service) ist erreichbar.";
constexpr std::string_view kLate =
    "Der Schlüsselbund des Desktops hat nicht rechtzeitig geantwortet.";
constexpr std::string_view kLocked =
    "Der Schlüsselbund des Desktops ist gesperrt und wurde nicht entsperrt.";
constexpr std::string_view kNotRead =
    "Der Schlüsselbund des Desktops hat das Passwort nicht gelesen.";
constexpr std::string_view kNotStored =
    "Der Schlüsselbund des Desktops hat das Passwort nicht gespeichert.";
constexpr std::string_view kNotErased =
    "Der Schlüsselbund des Desktops hat das Passwort nicht gelöscht.";

Failure Describe(const GError* error, bool late, std::string_view otherwise) {
    if (late) {
        return Failure{error::kCannotCreateObject, std::string(kLate)};
    }
    // An unlock prompt that was dismissed may end the call as cancelled, though nothing here was.
    if (error != nullptr && (g_error_matches(error, SECRET_ERROR, SECRET_ERROR_IS_LOCKED) ||
                             g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED))) {
        return Failure{error::kAccessDenied, std::string(kLocked)};
    }
    return Failure{error::kPathFileAccess, std::string(otherwise)};
}

}  // namespace

struct SecretServiceStore::Impl {
    explicit Impl(std::chrono::milliseconds limit) : bound(limit) {
        // GNOME Keyring cannot match the schema's name on a locked item, which would then pass
        // for absent; a fixed attribute of the program's own takes the name's place.
        schema.name = "de.klingelwart.SipKonto";
        schema.flags = SECRET_SCHEMA_DONT_MATCH_NAME;
        schema.attributes[0] = {"application", SECRET_SCHEMA_ATTRIBUTE_STRING};
        schema.attributes[1] = {"server", SECRET_SCHEMA_ATTRIBUTE_STRING};
        schema.attributes[2] = {"user", SECRET_SCHEMA_ATTRIBUTE_STRING};
    }

    // Starts one asynchronous call through `start(cancellable, callback, data)` and waits for
    // its end, cancelling it once the bound has passed.
    template <class Start>
    Finished run(Start start) {
        const ThreadDefault pushed(context.get());
        const ObjectPtr<GCancellable> cancellable(g_cancellable_new());
        Finished finished;
        start(cancellable.get(), &Done, &finished);
        Deadline deadline{cancellable.get(), &finished.late};
        const std::unique_ptr<GSource, SourceDestroy> timer(
            g_timeout_source_new(static_cast<guint>(bound.count())));
        g_source_set_callback(timer.get(), &Expire, &deadline, nullptr);
        g_source_attach(timer.get(), context.get());
        while (!finished.result) {
            g_main_context_iteration(context.get(), TRUE);
        }
        return finished;
    }

    // The service with a session for passing secrets, or why there is none.
    Result<ObjectPtr<SecretService>> service() {
        Finished finished =
            run([](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
                secret_service_get(SECRET_SERVICE_OPEN_SESSION, cancellable, done, data);
            });
        GError* raw = nullptr;
        ObjectPtr<SecretService> got(secret_service_get_finish(finished.result.get(), &raw));
        const ErrorPtr error(raw);
        if (!got) {
            if (finished.late) {
                return Failure{error::kCannotCreateObject, std::string(kLate)};
            }
            return Failure{error::kCannotCreateObject, std::string(kUnreachable)};
        }
        return got;
    }

    std::unique_ptr<GHashTable, HashUnref> attributes(const SecretAccount& account) const {
        std::unique_ptr<GHashTable, HashUnref> table(g_hash_table_new(g_str_hash, g_str_equal));
        g_hash_table_insert(table.get(), const_cast<char*>("application"),
                            const_cast<char*>("Klingelwart"));
        g_hash_table_insert(table.get(), const_cast<char*>("server"),
                            const_cast<char*>(account.server.c_str()));
        g_hash_table_insert(table.get(), const_cast<char*>("user"),
                            const_cast<char*>(account.user.c_str()));
        return table;
    }

    std::chrono::milliseconds bound;
    std::unique_ptr<GMainContext, ContextUnref> context{g_main_context_new()};
    SecretSchema schema{};
};

SecretServiceStore::SecretServiceStore(std::chrono::milliseconds bound)
    : impl_(std::make_unique<Impl>(bound)) {}

SecretServiceStore::~SecretServiceStore() = default;

MaybeFailure SecretServiceStore::available() {
    auto service = impl_->service();
    if (!service.ok()) {
        return service.failure();
    }
    return std::nullopt;
}

Result<std::optional<std::string>> SecretServiceStore::read(const SecretAccount& account) {
    auto service = impl_->service();
    if (!service.ok()) {
        return service.failure();
    }
    SecretService* const proxy = service.value().get();
    const auto attributes = impl_->attributes(account);
    // A plain lookup answers "none" for a password it could not unlock; searching tells the two
    // apart.
    const auto flags =
        static_cast<SecretSearchFlags>(SECRET_SEARCH_UNLOCK | SECRET_SEARCH_LOAD_SECRETS);
    Finished finished =
        impl_->run([&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_service_search(proxy, &impl_->schema, attributes.get(), flags, cancellable, done,
                                  data);
        });
    GError* raw = nullptr;
    const std::unique_ptr<GList, ItemsFree> items(
        secret_service_search_finish(proxy, finished.result.get(), &raw));
    const ErrorPtr error(raw);
    if (error || finished.late) {
        return Describe(error.get(), finished.late, kNotRead);
    }
    if (!items) {
        return std::optional<std::string>{};
    }
    auto* const item = static_cast<SecretItem*>(items->data);
    const ValuePtr value(secret_item_get_locked(item) ? nullptr : secret_item_get_secret(item));
    if (!value) {
        return Failure{error::kAccessDenied, std::string(kLocked)};
    }
    gsize length = 0;
    const gchar* bytes = secret_value_get(value.get(), &length);
    return std::optional<std::string>(std::string(bytes, length));
}

MaybeFailure SecretServiceStore::store(const SecretAccount& account, std::string_view password) {
    auto service = impl_->service();
    if (!service.ok()) {
        return service.failure();
    }
    SecretService* const proxy = service.value().get();
    const auto attributes = impl_->attributes(account);
    const ValuePtr value(
        secret_value_new(password.data(), static_cast<gssize>(password.size()), "text/plain"));
    const std::string label = "Klingelwart SIP-Konto " + account.user + "@" + account.server;
    Finished finished =
        impl_->run([&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_service_store(proxy, &impl_->schema, attributes.get(), SECRET_COLLECTION_DEFAULT,
                                 label.c_str(), value.get(), cancellable, done, data);
        });
    GError* raw = nullptr;
    const bool stored = secret_service_store_finish(proxy, finished.result.get(), &raw) != FALSE;
    const ErrorPtr error(raw);
    if (!stored || finished.late) {
        return Describe(error.get(), finished.late, kNotStored);
    }
    return std::nullopt;
}

MaybeFailure SecretServiceStore::erase(const SecretAccount& account) {
    auto service = impl_->service();
    if (!service.ok()) {
        return service.failure();
    }
    SecretService* const proxy = service.value().get();
    const auto attributes = impl_->attributes(account);
    Finished finished =
        impl_->run([&](GCancellable* cancellable, GAsyncReadyCallback done, gpointer data) {
            secret_service_clear(proxy, &impl_->schema, attributes.get(), cancellable, done, data);
        });
    GError* raw = nullptr;
    // False without an error: there was nothing to erase.
    secret_service_clear_finish(proxy, finished.result.get(), &raw);
    const ErrorPtr error(raw);
    if (error || finished.late) {
        return Describe(error.get(), finished.late, kNotErased);
    }
    return std::nullopt;
}

}  // namespace kw::platform
