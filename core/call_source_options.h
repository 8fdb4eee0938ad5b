#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/failure.h"
#include "core/sip_account.h"
#include "core/sip_fingerprint.h"
#include "platform/settings_store.h"

namespace kw {

// Which ways for calls to arrive are switched on. Kept in a section of its own, so that the
// section "Options" stays exactly as earlier versions wrote and read it.
struct CallSourceOptions {
    bool Steuerelement = true;    // the softphone's phone control (Windows)
    bool KlingelwartRing = true;  // klingelwart-ring, run by a softphone or telephone system
    bool Router = false;          // the router's call monitor
    std::string RouterHost = "fritz.box";
    std::uint16_t RouterPort = 1012;
    // The SIP account; its password lives in the desktop's password store, never in settings.
    bool SIP = false;
    std::string SIPServer;
    std::string SIPBenutzer;
    std::string SIPAuthName;  // empty: the user name authenticates
    SipTransport SIPTransport = SipTransport::Udp;
    // The SHA-256 fingerprint of the one TLS certificate trusted for this account although no
    // authority vouches for it; empty: none.
    std::string SIPZertifikat;

    friend bool operator==(const CallSourceOptions&, const CallSourceOptions&) = default;
};

inline constexpr std::string_view kCallSourcesSection = "Anrufquellen";

namespace source_key {
inline constexpr std::string_view kSteuerelement = "Steuerelement";
inline constexpr std::string_view kKlingelwartRing = "KlingelwartRing";
inline constexpr std::string_view kRouter = "Router";
inline constexpr std::string_view kRouterHost = "RouterHost";
inline constexpr std::string_view kRouterPort = "RouterPort";
inline constexpr std::string_view kSIP = "SIP";
inline constexpr std::string_view kSIPServer = "SIPServer";
inline constexpr std::string_view kSIPBenutzer = "SIPBenutzer";
inline constexpr std::string_view kSIPAuthName = "SIPAuthName";
inline constexpr std::string_view kSIPTransport = "SIPTransport";
inline constexpr std::string_view kSIPZertifikat = "SIPZertifikat";
}  // namespace source_key

// One key of the section and the option it holds. Reading and writing, the dialog's texts and
// which sources run all go through this table, so a source's keys are written down once.
struct CallSourceField {
    std::string_view key;
    std::variant<bool CallSourceOptions::*, std::string CallSourceOptions::*,
                 std::uint16_t CallSourceOptions::*, SipTransport CallSourceOptions::*>
        option;
    // For a text: whether an empty one is a value, or leaves the default (the router's host).
    bool emptyIsValue = true;
    // For a text with a form of its own: its one spelling, or nothing when it is no value.
    std::optional<std::string> (*normalise)(std::string_view) = nullptr;
};

// In the order they are written.
inline constexpr std::array kCallSourceFields{
    CallSourceField{source_key::kSteuerelement, &CallSourceOptions::Steuerelement},
    CallSourceField{source_key::kKlingelwartRing, &CallSourceOptions::KlingelwartRing},
    CallSourceField{source_key::kRouter, &CallSourceOptions::Router},
    CallSourceField{source_key::kRouterHost, &CallSourceOptions::RouterHost, false},
    CallSourceField{source_key::kRouterPort, &CallSourceOptions::RouterPort},
    CallSourceField{source_key::kSIP, &CallSourceOptions::SIP},
    CallSourceField{source_key::kSIPServer, &CallSourceOptions::SIPServer},
    CallSourceField{source_key::kSIPBenutzer, &CallSourceOptions::SIPBenutzer},
    CallSourceField{source_key::kSIPAuthName, &CallSourceOptions::SIPAuthName},
    CallSourceField{source_key::kSIPTransport, &CallSourceOptions::SIPTransport},
    CallSourceField{source_key::kSIPZertifikat, &CallSourceOptions::SIPZertifikat, true,
                    &ParseSipFingerprint},
};

// The option under `key` as the settings hold it: "1"/"0", the text, the port's digits, the
// transport's name. Empty for a key not in the table.
std::string OptionText(const CallSourceOptions& options, std::string_view key);

// Sets the option under `key` from a text of the same form; false, and nothing changed, when the
// text is not a value for it or the key is not in the table.
bool SetOptionText(CallSourceOptions& options, std::string_view key, std::string_view text);

// Whether the switch under `key` is on.
bool SwitchedOn(const CallSourceOptions& options, std::string_view key);

// Reads the section; a missing key, or a value that is not exactly what is expected ("1" or
// "0", a port 1 to 65535 in plain digits, a host that is not empty, a transport name), reads as
// the default, so nothing changes for users who never opened the dialog.
CallSourceOptions LoadCallSourceOptions(platform::SettingsStore& store);

// The port as typed: plain decimal digits, 1 to 65535, nothing else (no blanks, no sign).
std::optional<std::uint16_t> ParsePort(std::string_view text);

// "UDP", "TCP" or "TLS", exactly; anything else is no transport.
std::string_view TransportName(SipTransport transport);
std::optional<SipTransport> ParseTransport(std::string_view text);

// Writes every key of the section in one write: all of them, or on a failure none.
[[nodiscard]] MaybeFailure WriteCallSourceOptions(platform::SettingsStore& store,
                                                  const CallSourceOptions& options);

}  // namespace kw
