#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/sip_fingerprint.h"

namespace kw {
namespace {

const std::string kPairs =
    "AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67:"
    "89";

TEST(SipFingerprint, TypedFormsAndRefusals) {
    const struct {
        std::string typed;
        std::optional<std::string> read;
    } cases[] = {
        {kPairs, kPairs},
        {"abcdef0123456789abcdef0123456789abcdef0123456789abcdef0123456789", kPairs},
        {" ab cd ef 01 23 45 67 89 AB CD EF 01 23 45 67 89 AB CD EF 01 23 45 67 89 AB CD EF 01 23 "
         "45 67 89 ",
         kPairs},
        {kPairs + ":00", std::nullopt},             // SHA-384 or more
        {kPairs.substr(0, kPairs.size() - 3), {}},  // one pair short
        {kPairs.substr(0, kPairs.size() - 1), {}},  // half a pair
        {"A:BC" + kPairs.substr(4), {}},            // a separator inside a pair
        {"SHA256 Fingerprint=" + kPairs, {}},
        {"GH" + kPairs.substr(2), {}},
        {"\xEF\xBC\xA1" + kPairs.substr(1), {}},  // a full-width letter
        {std::string("AB\0CD", 5) + kPairs.substr(5), {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseSipFingerprint(c.typed), c.read) << c.typed;
    }
}

}  // namespace
}  // namespace kw
