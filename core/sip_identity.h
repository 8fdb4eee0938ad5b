#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kw {

// The parts of a parsed SIP address that can carry a number, still %-escaped.
struct SipAddress {
    std::string_view user;
    std::string_view host;
};

// "+49 30" -> "+49%2030": what a SIP user part may not carry as it is, %-escaped. The same bytes
// give the same result under every locale.
std::string EscapeSipUser(std::string_view user);

// "%2B49%2030" -> "+49 30". Broken escapes stay as they are; %00 becomes a NUL byte.
std::string DecodeSipUser(std::string_view user);

// "anonymous", "restricted" and their kin, or the anonymous.invalid domain: no number given.
bool IsWithheldSipIdentity(std::string_view user, std::string_view host);

// The caller: the asserted identity when it has a user part, else From. Empty when withheld.
std::string SipCaller(const std::optional<SipAddress>& asserted, const SipAddress& from,
                      bool privacyRequested);

// The called number: To's user part, else the request URI's.
std::string SipCalled(const SipAddress& to, const SipAddress& requestUri);

}  // namespace kw
