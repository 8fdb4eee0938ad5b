#include "core/call_source_options.h"

#include <array>
#include <utility>

#include "core/app_options.h"

namespace kw {

namespace {

std::string Read(platform::SettingsStore& store, std::string_view key) {
    return store.read(kApplicationName, kCallSourcesSection, key);
}

bool ReadFlag(platform::SettingsStore& store, std::string_view key, bool fallback) {
    const std::string value = Read(store, key);
    if (value == "1") {
        return true;
    }
    if (value == "0") {
        return false;
    }
    return fallback;
}

}  // namespace

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    // Five digits at most: longer texts would only be leading zeros or out of range anyway.
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::string_view TransportName(SipTransport transport) {
    switch (transport) {
        case SipTransport::Tcp:
            return "TCP";
        case SipTransport::Tls:
            return "TLS";
        case SipTransport::Udp:
            break;
    }
    return "UDP";
}

std::optional<SipTransport> ParseTransport(std::string_view text) {
    for (const SipTransport t : {SipTransport::Udp, SipTransport::Tcp, SipTransport::Tls}) {
        if (text == TransportName(t)) {
            return t;
        }
    }
    return std::nullopt;
}

CallSourceOptions LoadCallSourceOptions(platform::SettingsStore& store) {
    const CallSourceOptions defaults;
    CallSourceOptions options;
    options.Steuerelement = ReadFlag(store, source_key::kSteuerelement, defaults.Steuerelement);
    options.KlingelwartRing =
        ReadFlag(store, source_key::kKlingelwartRing, defaults.KlingelwartRing);
    options.Router = ReadFlag(store, source_key::kRouter, defaults.Router);
    std::string host = Read(store, source_key::kRouterHost);
    if (!host.empty()) {
        options.RouterHost = std::move(host);
    }
    if (auto port = ParsePort(Read(store, source_key::kRouterPort))) {
        options.RouterPort = *port;
    }
    options.SIP = ReadFlag(store, source_key::kSIP, defaults.SIP);
    options.SIPServer = Read(store, source_key::kSIPServer);
    options.SIPBenutzer = Read(store, source_key::kSIPBenutzer);
    options.SIPAuthName = Read(store, source_key::kSIPAuthName);
    options.SIPTransport =
        ParseTransport(Read(store, source_key::kSIPTransport)).value_or(defaults.SIPTransport);
    return options;
}

MaybeFailure WriteCallSourceOptions(platform::SettingsStore& store,
                                    const CallSourceOptions& options) {
    auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    const std::array<platform::SettingsValue, 10> values{{
        {source_key::kSteuerelement, flag(options.Steuerelement)},
        {source_key::kKlingelwartRing, flag(options.KlingelwartRing)},
        {source_key::kRouter, flag(options.Router)},
        {source_key::kRouterHost, options.RouterHost},
        {source_key::kRouterPort, std::to_string(options.RouterPort)},
        {source_key::kSIP, flag(options.SIP)},
        {source_key::kSIPServer, options.SIPServer},
        {source_key::kSIPBenutzer, options.SIPBenutzer},
        {source_key::kSIPAuthName, options.SIPAuthName},
        {source_key::kSIPTransport, std::string(TransportName(options.SIPTransport))},
    }};
    return store.writeAll(kApplicationName, kCallSourcesSection, values);
}

}  // namespace kw
