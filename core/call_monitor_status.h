#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace kw {

// Why the router's call monitor cannot be reached right now.
enum class MonitorFault {
    Refused,
    HostNotFound,
    TimedOut,
    Closed,
    NetworkUnreachable,
    Other,
};

// "fritz.box:1012", "[fd00::1]:1012": the monitor's address as the user gave it.
std::string CallMonitorAddress(std::string_view host, std::uint16_t port);

// The German status lines of the call monitor source.
std::string CallMonitorConnecting(std::string_view host, std::uint16_t port);
std::string CallMonitorConnected(std::string_view host, std::uint16_t port);
// The wait is shown in whole seconds, rounded up, as chosen; it does not count down.
std::string CallMonitorWaiting(std::string_view host, std::uint16_t port, MonitorFault fault,
                               std::chrono::milliseconds wait);
// The source cannot run at all here; `why` says what is missing.
std::string CallMonitorUnavailable(std::string_view host, std::uint16_t port, std::string_view why);

}  // namespace kw
