#include "core/sip_identity.h"

#include <algorithm>
#include <array>

#include "core/ascii.h"

namespace kw {

std::string EscapeSipUser(std::string_view user) {
    static constexpr std::string_view kPlain = "-_.!~*'()&=+$,;?/";
    std::string escaped;
    for (const char c : user) {
        if (IsAsciiAlnum(c) || kPlain.find(c) != std::string_view::npos) {
            escaped += c;
        } else {
            escaped += '%';
            AppendHex(escaped, static_cast<unsigned char>(c));
        }
    }
    return escaped;
}

std::string DecodeSipUser(std::string_view user) {
    std::string decoded;
    decoded.reserve(user.size());
    for (std::size_t i = 0; i < user.size(); ++i) {
        if (user[i] == '%' && i + 2 < user.size() && HexDigitValue(user[i + 1]) >= 0 &&
            HexDigitValue(user[i + 2]) >= 0) {
            decoded +=
                static_cast<char>(HexDigitValue(user[i + 1]) * 16 + HexDigitValue(user[i + 2]));
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
    return SameAsciiLetters(host, "anonymous.invalid") ||
           std::ranges::any_of(
               kWithheld, [&](std::string_view word) { return SameAsciiLetters(decoded, word); });
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
