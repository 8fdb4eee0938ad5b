#include <gtest/gtest.h>
#include <phonenumbers/phonenumberutil.h>

#include <string>

#include "core/phone_number.h"

namespace kw {
namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

// libphonenumber's verdict: both parse in the region and give the same E.164 number.
bool OracleMatches(const std::string& a, const std::string& b, const std::string& region) {
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber first;
    PhoneNumber second;
    if (util.Parse(a, region, &first) != PhoneNumberUtil::NO_PARSING_ERROR ||
        util.Parse(b, region, &second) != PhoneNumberUtil::NO_PARSING_ERROR) {
        return false;
    }
    std::string firstE164;
    std::string secondE164;
    util.Format(first, PhoneNumberUtil::E164, &firstE164);
    util.Format(second, PhoneNumberUtil::E164, &secondE164);
    return firstE164 == secondE164;
}

struct PairCase {
    std::string stored;
    std::string incoming;
    NumberHome home;
    std::string region;
    bool match;
    bool oracleAgrees = true;  // false where this rule decides otherwise on purpose
};

TEST(PhoneNumberOracleTest, SamePairsMatchAsInLibphonenumber) {
    const NumberHome de{"49", ""};
    const NumberHome berlin{"49", "30"};
    const PairCase cases[] = {
        {"+49 (30) 123 45-67", "+49301234567", de, "DE", true},
        {"0049 30 1234567", "+49301234567", de, "DE", true},
        {"030/1234567", "0049301234567", de, "DE", true},
        {"+49 (0)30 1234567", "030 1234567", de, "DE", true},
        {"0049 (0)30 1234567", "+49301234567", de, "DE", true},
        {"+49 (030) 1234567", "+49301234567", de, "DE", true},
        // Only the home country's trunk "0" is known to be no part of a number.
        {"+43 (01) 5123456", "+4315123456", de, "DE", false, false},
        {"  030-123 45 67 ", "+49.30.1234567", de, "DE", true},
        {"tel:+49-30-1234567", "030 1234567", de, "DE", true},
        {"0171 2345678", "+491712345678", de, "DE", true},
        {"+43 1 5123456", "00431 5123456", de, "DE", true},
        {"030 1234567", "+43301234567", de, "DE", false},
        {"030 1234567", "030 1234568", de, "DE", false},
        {"030 1234567", "0301234567 0", de, "DE", false},
        {"+49 30 1234567", "+49 301 234567", de, "DE", true},
        {"01 5123456", "+43 1 5123456", {"43", ""}, "AT", true},
        {"044 668 18 00", "+41446681800", {"41", ""}, "CH", true},
        {"06 1234 5678", "+390612345678", {"39", ""}, "IT", true},
        {"347 123 4567", "+393471234567", {"39", ""}, "IT", true},
        {"(212) 555-0123", "+12125550123", {"1", ""}, "US", true},
        {"1 212 555 0123", "011 1 212 555 0123", {"1", ""}, "US", true},
        // With the user's area code a local number is the full one; the oracle knows no area.
        {"1234567", "030 1234567", berlin, "DE", true, false},
        {"1234567", "+49 30 1234567", berlin, "DE", true, false},
        {"1234567", "040 1234567", berlin, "DE", false},
        // Without it, a local number equals only itself; the oracle reads it as a country code.
        {"1234567", "030 1234567", de, "DE", false},
        {"1234567", "123-45-67", de, "DE", true},
        // Letters are no number: the oracle turns "FLOWERS" into digits.
        {"0800 FLOWERS", "0800 3569377", de, "DE", false, false},
        {"anonymous", "anonymous", de, "DE", false},
        {"", "", de, "DE", false},
        {"030 1234567 ext. 12", "030 1234567", de, "DE", false, false},
        {"*31#", "*31#", de, "DE", false},
        {"+49 30 1234567", "+49 30 1234567 1234567", de, "DE", false},
    };
    for (const PairCase& c : cases) {
        SCOPED_TRACE(c.stored + " | " + c.incoming + " in " + c.region);
        const std::string stored = CanonicalNumber(c.stored, c.home);
        const bool ours = !stored.empty() && stored == CanonicalNumber(c.incoming, c.home);
        EXPECT_EQ(ours, c.match);
        EXPECT_EQ(OracleMatches(c.stored, c.incoming, c.region) == c.match, c.oracleAgrees);
    }
}

}  // namespace
}  // namespace kw
