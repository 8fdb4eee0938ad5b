#include "core/phone_number.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kw {
namespace {

struct CanonicalCase {
    std::string text;
    NumberHome home;
    std::string canonical;
};

TEST(PhoneNumberTest, CanonicalFormAndRefusals) {
    const NumberHome de;
    const CanonicalCase cases[] = {
        {"+49 (0)30 1234567", de, "+49301234567"},
        {"+49(0)301234567", de, "+49301234567"},
        {"030 (0)1234567", de, "+493001234567"},  // only after the country code
        {"1234567", {"49", "030"}, "+49301234567"},
        {"1234567", {"49", "(0)30"}, "+49301234567"},
        {"1234567", de, "1234567"},
        {"TEL:+4930123;ext=5", de, "+4930123"},
        {"\t+49 30 123\t", de, "+4930123"},
        {"+0049 30 123", de, ""},
        {"00 0", de, ""},
        {"0", de, ""},
        {"+", de, ""},
        {"", de, ""},
        {"   ", de, ""},
        {"unbekannt", de, ""},
        {"+49 30 12+34", de, ""},
        {"<030 1234567>", de, ""},
        {"030\n1234567", de, ""},
        {"+1234567890123456", de, ""},
        {"+123456789012345", de, "+123456789012345"},
        {"030" + std::string(61, ' ') + "1", de, ""},
        {"0301234567" + std::string(60, '-'), de, ""},
    };
    for (const CanonicalCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CanonicalNumber(c.text, c.home), c.canonical);
    }
}

TEST(PhoneNumberTest, CompanyLineOnlyForTrailingDash) {
    const NumberHome de;
    const struct {
        std::string text;
        std::optional<std::string> line;
    } cases[] = {
        {"030 12345-0", "+493012345"},
        {"030 12345-", "+493012345"},
        {"+49 30 12345 - 0 ", "+493012345"},
        {"030 123-45", std::nullopt},
        {"030 12345-00", std::nullopt},
        {"-", std::nullopt},
        {"abc-0", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CompanyLine(c.text, de), c.line);
    }
}

}  // namespace
}  // namespace kw
