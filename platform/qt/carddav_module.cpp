// The address-book client with Qt Network, loaded only when an address book is synced.
#include <type_traits>

#include "platform/posix/module_entries.h"
#include "platform/qt/qt_dav_client.h"

KW_MODULE_ENTRY kw::platform::DavClient* kw_make_dav_client() {
    return new kw::qt::QtDavClient;
}

// The loader calls through this type; a changed signature must not compile.
static_assert(std::is_same_v<decltype(&kw_make_dav_client), kw::platform::MakeDavClient>);
