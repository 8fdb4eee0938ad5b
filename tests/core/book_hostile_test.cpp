#include <gtest/gtest.h>

#include <string>

#include "core/book_file.h"
#include "core/book_text.h"
#include "core/utf8.h"

namespace kw {
namespace {

std::string Repeated(std::string_view text, std::size_t times) {
    std::string all;
    all.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

std::string Card(std::string_view name, std::string_view tels) {
    return "BEGIN:VCARD\nFN:" + std::string(name) + "\n" + std::string(tels) + "END:VCARD\n";
}

struct HostileCase {
    std::string what;
    std::string fileName;
    std::string bytes;
    std::string error;
    std::size_t entries;
    std::string firstName;  // checked when there are entries
};

TEST(BookHostileTest, RefusedOrReadWithinBounds) {
    const std::string dtd = "Die XML-Datei enthält eine DTD und wird deshalb nicht gelesen.";
    const HostileCase cases[] = {
        {"binary garbage", "x.vcf",
         std::string("\0\xFF\xFE\x01"
                     "BEGIN\0:VCARD\n\x80TEL:\0",
                     18),
         "", 0, ""},
        {"garbage as XML", "x.xml", "\x89PNG\r\n\x1A\n<\0>", "Die XML-Datei ist fehlerhaft.", 0,
         ""},
        {"garbage as CSV", "x.csv", std::string("\0,\0\n\xFF", 5),
         "Die CSV-Datei hat keine Spalte mit Telefonnummern.", 0, ""},
        {"one byte beyond the size bound", "x.vcf", std::string(kMaxBookBytes + 1, '\n'),
         "Das Telefonbuch ist größer als 64 MiB und wird nicht gelesen.", 0, ""},
        {"never-ending line", "x.vcf", "BEGIN:VCARD\nFN:A\nTEL:" + std::string(4'000'000, '1'), "",
         0, ""},
        {"never-ending quoted CSV field", "x.csv", "Name,Phone\nA,\"" + std::string(4'000'000, '1'),
         "", 0, ""},
        {"a million separators in a row", "x.csv",
         "Name,Phone\nA,030 1" + std::string(1'000'000, ',') + "2\n", "", 1, "A"},
        {"billion laughs", "x.xml",
         "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"ha\"><!ENTITY b \"&a;&a;&a;\">]>"
         "<phonebooks>&b;</phonebooks>",
         dtd, 0, ""},
        {"external entity", "x.xml", "<phonebooks>&xxe;</phonebooks>",
         "Die XML-Datei enthält eine unbekannte Entität.", 0, ""},
        {"deep nesting", "x.xml", Repeated("<a>", 1'000'000),
         "Die XML-Datei ist zu tief verschachtelt.", 0, ""},
        {"invalid UTF-8 and NUL in a name", "x.vcf", Card(std::string("A\xC3(\0B", 5), "TEL:1\n"),
         "", 1, "A\xEF\xBF\xBD(B"},
        {"a number of invalid bytes, too long once replaced", "x.vcf",
         Card("A", "TEL:" + std::string(40, '\xB6') + "\nTEL:1\n"), "", 1, "A"},
        {"markup and control characters stay for the display rules", "x.vcf",
         Card("<b>Chef</b>\x07\x1B[31m\xE2\x80\xAE", "TEL:1\n"), "", 1,
         "<b>Chef</b>\x07\x1B[31m\xE2\x80\xAE"},
        {"overlong name cut at a character", "x.vcf", Card(Repeated("ä", 150), "TEL:1\n"), "", 1,
         Repeated("ä", 100)},
        {"100,000 numbers for one name", "x.vcf", Card("Viel", Repeated("TEL:030 1\n", 100'000)),
         "", 100'000, "Viel"},
        {"more numbers than a book may have", "x.vcf",
         Card("Zu viel", Repeated("TEL:1\n", kMaxBookNumbers + 1)),
         "Das Telefonbuch enthält mehr als 200000 Nummern und wird nicht gelesen.", 0, ""},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.what);
        const BookReading reading = ReadBookFile(c.fileName, c.bytes);
        EXPECT_EQ(reading.error, c.error);
        ASSERT_EQ(reading.entries.size(), c.entries);
        if (!reading.entries.empty()) {
            EXPECT_EQ(reading.entries.front().name, c.firstName);
            EXPECT_TRUE(IsValidUtf8(reading.entries.back().name));
        }
    }
}

}  // namespace
}  // namespace kw
