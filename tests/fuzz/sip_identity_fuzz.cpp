#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ascii.h"
#include "core/sip_fingerprint.h"
#include "core/sip_identity.h"
#include "tests/fuzz/fuzz_require.h"

namespace {

using namespace kw;

std::string EscapeEveryByte(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        escaped += '%';
        AppendHex(escaped, static_cast<unsigned char>(c));
    }
    return escaped;
}

}  // namespace

// The numbers come from the parsed headers' user parts and nowhere else: whatever a caller puts
// there, the caller line gets that user part decoded, or nothing when the identity is withheld.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string assertedUser = input.ConsumeRandomLengthString(64);
    const std::string assertedHost = input.ConsumeRandomLengthString(32);
    const std::string fromUser = input.ConsumeRandomLengthString(64);
    const std::string fromHost = input.ConsumeRandomLengthString(32);
    const bool hasAsserted = input.ConsumeBool();
    const bool privacy = input.ConsumeBool();
    const std::string rest = input.ConsumeRemainingBytesAsString();

    // A fingerprint from the settings or the dialog reads in the one form, and again the same.
    if (const std::optional<std::string> fingerprint = ParseSipFingerprint(rest)) {
        KW_FUZZ_REQUIRE(fingerprint->size() == 95 &&
                        ParseSipFingerprint(*fingerprint) == fingerprint);
    }
    KW_FUZZ_REQUIRE(DecodeSipUser(EscapeSipUser(rest)) == rest);

    const std::string decoded = DecodeSipUser(rest);
    KW_FUZZ_REQUIRE(decoded.size() <= rest.size());
    KW_FUZZ_REQUIRE(DecodeSipUser(EscapeEveryByte(rest)) == rest);
    if (rest.find('%') == std::string::npos) {
        KW_FUZZ_REQUIRE(decoded == rest);
    }

    const std::optional<SipAddress> asserted =
        hasAsserted ? std::optional<SipAddress>(SipAddress{assertedUser, assertedHost})
                    : std::nullopt;
    const SipAddress from{fromUser, fromHost};
    const std::string caller = SipCaller(asserted, from, privacy);
    const SipAddress& chosen = hasAsserted && !assertedUser.empty() ? *asserted : from;
    if (privacy || IsWithheldSipIdentity(chosen.user, chosen.host)) {
        KW_FUZZ_REQUIRE(caller.empty());
    } else {
        KW_FUZZ_REQUIRE(caller == DecodeSipUser(chosen.user));
    }

    const std::string called = SipCalled(SipAddress{fromUser, fromHost}, SipAddress{rest, ""});
    KW_FUZZ_REQUIRE(called == DecodeSipUser(fromUser.empty() ? rest : fromUser));
    return 0;
}
