// The SIP source with sofia-sip, loaded only when SIP is switched on.
#include <type_traits>

#include "platform/posix/module_entries.h"
#include "platform/qt/sip_source.h"

KW_MODULE_ENTRY kw::platform::CallSource* kw_make_sip_source(const kw::SipAccount& account,
                                                             const std::string& password) {
    return new kw::qt::SipSource(account, password);
}

// The loader calls through this type; a changed signature must not compile.
static_assert(std::is_same_v<decltype(&kw_make_sip_source), kw::platform::MakeSipSource>);
