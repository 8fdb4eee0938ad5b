// The router's call monitor with Qt Network, loaded only when the router source is switched on.
#include <type_traits>

#include "platform/posix/module_entries.h"
#include "platform/qt/call_monitor_source.h"

KW_MODULE_ENTRY kw::platform::CallSource* kw_make_router_source(const std::string& host,
                                                                std::uint16_t port) {
    return new kw::qt::CallMonitorSource(host, port);
}

// The loader calls through this type; a changed signature must not compile.
static_assert(std::is_same_v<decltype(&kw_make_router_source), kw::platform::MakeRouterSource>);
