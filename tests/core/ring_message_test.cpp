#include "core/ring_message.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace kw {
namespace {

using namespace std::string_literals;

struct RoundTripCase {
    const char* name;
    std::string caller;
    std::string called;
};

// Named by the case only: the texts are long or not printable.
void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << c.name;
}

class RingRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RingRoundTrip, TextsComeBackExactly) {
    const RoundTripCase& c = GetParam();
    ASSERT_TRUE(FitsRingMessage(c.caller, c.called));
    const std::string bytes = EncodeRing(c.caller, c.called);
    EXPECT_EQ(bytes.size(), RingMessageSize(c.caller, c.called));
    EXPECT_EQ(bytes.substr(0, 8), "KLINGEL1");
    const std::optional<RingCall> call = DecodeRing(bytes);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->caller, c.caller);
    EXPECT_EQ(call->called, c.called);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RingRoundTrip,
    ::testing::Values(RoundTripCase{"plain", "0301234567", "4711"},
                      RoundTripCase{"blanksAtEnds", "  +49 30 123  ", " 4711 "},
                      RoundTripCase{"tabs", "\t030\t123\t", "\t"},
                      RoundTripCase{"crlf", "030\r\n123\r\n", "\r\n47\n11\r"},
                      RoundTripCase{"quotes", "\"030\" 'x' `y` $(z) \\", "'\"'"},
                      RoundTripCase{"unicode", "Müller ☎ 030", "Büro 🐝"},
                      RoundTripCase{"notUtf8", "\xff\xfe\x80", "\xc3"},
                      RoundTripCase{"nulInside",
                                    "030\0"
                                    "123"s,
                                    "\0"s},
                      RoundTripCase{"emptyBoth", "", ""}, RoundTripCase{"emptyCaller", "", "4711"},
                      RoundTripCase{"emptyCalled", "030", ""},
                      RoundTripCase{"sixtyKilobytes", std::string(60 * 1000, '7'), "4711"},
                      RoundTripCase{"exactlyAtLimit",
                                    std::string(kMaxRingMessage - kRingHeaderSize - 1, 'x'), "y"}),
    [](const ::testing::TestParamInfo<RoundTripCase>& param) { return param.param.name; });

TEST(RingMessage, SizeLimitIsChecked) {
    const std::string half(kMaxRingMessage / 2, 'x');
    EXPECT_TRUE(FitsRingMessage(std::string(kMaxRingMessage - kRingHeaderSize, 'x'), ""));
    EXPECT_FALSE(FitsRingMessage(std::string(kMaxRingMessage - kRingHeaderSize + 1, 'x'), ""));
    EXPECT_FALSE(FitsRingMessage(half, half));
    // Too large messages are refused by the decoder even when well formed.
    EXPECT_FALSE(DecodeRing(EncodeRing(half, half)));
}

TEST(RingMessage, LengthsAreLittleEndian) {
    const std::string bytes = EncodeRing(std::string(0x0102, 'a'), "bc");
    EXPECT_EQ(bytes.substr(8, 4), "\x02\x01\x00\x00"s);
    EXPECT_EQ(bytes.substr(12 + 0x0102, 4), "\x02\x00\x00\x00"s);
}

std::string WithLength(std::string bytes, std::size_t offset, std::uint32_t length) {
    for (int index = 0; index < 4; ++index) {
        bytes[offset + static_cast<std::size_t>(index)] =
            static_cast<char>((length >> (8 * index)) & 0xFFu);
    }
    return bytes;
}

struct MalformedCase {
    const char* name;
    std::string bytes;
};

// Named by the case only: the texts are long or not printable.
void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << c.name;
}

class RingMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(RingMalformed, IsRefused) {
    EXPECT_FALSE(DecodeRing(GetParam().bytes));
}

const std::string kGood = EncodeRing("030", "4711");  // caller length at 8, called length at 15

INSTANTIATE_TEST_SUITE_P(
    Bytes, RingMalformed,
    ::testing::Values(MalformedCase{"empty", ""}, MalformedCase{"magicOnly", "KLINGEL1"},
                      MalformedCase{"shortHeader", kGood.substr(0, 15)},
                      MalformedCase{"headerOfEmptyMissingByte", EncodeRing("", "").substr(0, 15)},
                      MalformedCase{"wrongMagic", "KLINGEL2" + kGood.substr(8)},
                      MalformedCase{"lowerCaseMagic", "klingel1" + kGood.substr(8)},
                      MalformedCase{"missingLastByte", kGood.substr(0, kGood.size() - 1)},
                      MalformedCase{"trailingByte", kGood + "x"},
                      MalformedCase{"trailingNul", kGood + "\0"s},
                      MalformedCase{"twoMessages", kGood + kGood},
                      MalformedCase{"callerLengthTooLarge", WithLength(kGood, 8, 4)},
                      MalformedCase{"callerLengthTooSmall", WithLength(kGood, 8, 2)},
                      MalformedCase{"callerLengthOverflows", WithLength(kGood, 8, 0xFFFFFFFFu)},
                      MalformedCase{"callerLengthWrapsSum", WithLength(kGood, 8, 0xFFFFFFF0u)},
                      MalformedCase{"calledLengthTooLarge", WithLength(kGood, 15, 5)},
                      MalformedCase{"calledLengthTooSmall", WithLength(kGood, 15, 3)},
                      MalformedCase{"calledLengthOverflows", WithLength(kGood, 15, 0xFFFFFFFFu)},
                      MalformedCase{"oversized",
                                    EncodeRing(std::string(kMaxRingMessage, 'x'), "")}),
    [](const ::testing::TestParamInfo<MalformedCase>& param) { return param.param.name; });

}  // namespace
}  // namespace kw
