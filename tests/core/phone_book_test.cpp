#include "core/phone_book.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kw {
namespace {

struct LookupCase {
    std::string caller;
    std::optional<std::string> name;
};

TEST(PhoneBookTest, FirstBookExactThenLongestCompanyLine) {
    const std::vector<std::vector<BookEntry>> books = {
        {
            {"Anna", "030 1234567"},
            {"Anna doppelt", "+49 30 1234567"},
            {"Zentrale", "030 12345-0"},
            {"Vertrieb", "030 12345 7-"},
            {"Kurz", "1111"},
            {"Vanity", "0800 FLOWERS"},
        },
        {
            {"Zweitbuch Anna", "0049301234567"},
            {"Bernd", "040 55555"},
            {"", "040 55556"},
            {"Durchwahl direkt", "030 1234599"},
        },
    };
    const PhoneBook book(books, NumberHome{"49", "30"});
    const LookupCase cases[] = {
        {"+49301234567", "Anna"},
        {"0301234567", "Anna"},
        {"1234567", "Anna"},
        {"+4940 55555", "Bernd"},
        {"+4930123450", "Zentrale"},
        {"+493012345", std::nullopt},  // the line itself, no extension
        {"+49301234512", "Zentrale"},
        {"+4930123457", "Vertrieb"},
        {"+49301234571", "Vertrieb"},
        {"+49301234599", "Durchwahl direkt"},  // an exact entry beats a line in an earlier book
        {"1111", "Kurz"},                      // both read with the area code
        {"040 1111", std::nullopt},
        {"040 55556", std::nullopt},
        {"08003569377", std::nullopt},
        {"", std::nullopt},
        {"anonymous", std::nullopt},
        {"+4930", std::nullopt},
        {"+4930123456789012", std::nullopt},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.caller);
        EXPECT_EQ(book.NameFor(c.caller), c.name);
    }
    EXPECT_EQ(book.size(), 6u);
}

TEST(PhoneBookTest, EmptyBookFindsNothing) {
    EXPECT_EQ(PhoneBook().NameFor("+49301234567"), std::nullopt);
    EXPECT_EQ(PhoneBook({{{"Leer", ""}}}, NumberHome{}).NameFor(""), std::nullopt);
}

}  // namespace
}  // namespace kw
