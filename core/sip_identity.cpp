#include "core/sip_identity.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/hex_value.h"

namespace kw {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string DecodeSipUser(std::string_view user) {
    std::string decoded;
    decoded.reserve(user.size());
    for (std::size_t i = 0; i < user.size(); ++i) {
        if (user[i] == '%' && i + 2 < user.size() && HexValue(user[i + 1]) >= 0 &&
            HexValue(user[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(user[i + 1]) * 16 + HexValue(user[i + 2]));
            i += 2;
        } else {
            decoded += user[i];
        }
    }
    return decoded;
}

bool IsWithheldSipIdentity(std::string_view user, std::string_view host) {
    static constexpr std::array<std::string_view, 5> kWithheld = {
        "anonymous", "restricted", "unavailable", "unknown", "private"};
    const std::string decoded = DecodeSipUser(user);
    return SameLetters(host, "anonymous.invalid") ||
           std::ranges::any_of(kWithheld,
                               [&](std::string_view word) { return SameLetters(decoded, word); });
}

std::string SipCaller(const std::optional<SipAddress>& asserted, const SipAddress& from,
                      bool privacyRequested) {
    const SipAddress& caller = asserted && !asserted->user.empty() ? *asserted : from;
    if (privacyRequested || IsWithheldSipIdentity(caller.user, caller.host)) {
        return {};
    }
    return DecodeSipUser(caller.user);
}

std::string SipCalled(const SipAddress& to, const SipAddress& requestUri) {
    return DecodeSipUser(to.user.empty() ? requestUri.user : to.user);
}

}  // namespace kw
