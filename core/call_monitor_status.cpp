#include "core/call_monitor_status.h"

namespace kw {

namespace {

const char* FaultText(MonitorFault fault) {
    switch (fault) {
        case MonitorFault::Refused:
            return "nicht erreichbar (Verbindung abgelehnt)";
        case MonitorFault::HostNotFound:
            return "nicht erreichbar (Name unbekannt)";
        case MonitorFault::TimedOut:
            return "nicht erreichbar (keine Antwort)";
        case MonitorFault::Closed:
            return "Verbindung getrennt";
        case MonitorFault::NetworkUnreachable:
            return "nicht erreichbar (Netz nicht erreichbar)";
        case MonitorFault::Other:
            break;
    }
    return "nicht erreichbar (Netzwerkfehler)";
}

std::string Prefix(std::string_view host, std::uint16_t port) {
    return "Anrufmonitor " + CallMonitorAddress(host, port) + ": ";
}

}  // namespace

std::string CallMonitorAddress(std::string_view host, std::uint16_t port) {
    const bool bare = host.find(':') != std::string_view::npos && !host.starts_with('[');
    std::string address = bare ? "[" + std::string(host) + "]" : std::string(host);
    return address + ":" + std::to_string(port);
}

std::string CallMonitorConnecting(std::string_view host, std::uint16_t port) {
    return Prefix(host, port) + "Verbindung wird aufgebaut";
}

std::string CallMonitorConnected(std::string_view host, std::uint16_t port) {
    return Prefix(host, port) + "verbunden";
}

std::string CallMonitorWaiting(std::string_view host, std::uint16_t port, MonitorFault fault,
                               std::chrono::milliseconds wait) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(wait).count();
    return Prefix(host, port) + FaultText(fault) + ", neuer Versuch in " + std::to_string(seconds) +
           " s";
}

std::string CallMonitorUnavailable(std::string_view host, std::uint16_t port,
                                   std::string_view why) {
    return Prefix(host, port) + "nicht verfügbar (" + std::string(why) + ")";
}

}  // namespace kw
