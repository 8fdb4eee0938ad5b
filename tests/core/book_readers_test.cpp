#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/book_file.h"
#include "core/carddav_reader.h"

namespace kw {
namespace {

using namespace std::string_literals;

struct ReadCase {
    std::string what;
    std::string fileName;
    std::string bytes;
    std::vector<BookEntry> entries;
    std::string error;
};

TEST(BookReadersTest, ReadsTheExportsUsersHave) {
    const ReadCase cases[] = {
        {"vCard 3.0, FN, several TEL, group, folded line",
         "a.vcf",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Muster;Erika;;;\r\nFN:Erika\r\n  Muster\r\n"
         "TEL;TYPE=WORK,VOICE:030 1234567\r\nitem1.TEL:+49 171 2345678\r\n"
         "item1.X-ABLabel:Handy\r\nEND:VCARD\r\n",
         {{"Erika Muster", "030 1234567"}, {"Erika Muster", "+49 171 2345678"}},
         ""},
        {"vCard 4.0 tel: address, N only, escapes, LF",
         "b.VCF",
         "BEGIN:VCARD\nVERSION:4.0\nN:M\\,üller;Hans;;Dr.;\nTEL;VALUE=uri;TYPE=\"voice,cell\":"
         "tel:+49-30-1234567\nEND:VCARD\n",
         {{"Dr. Hans M,üller", "+49-30-1234567"}},
         ""},
        {"vCard 2.1 quoted-printable with soft break, Latin-1 and unmarked Windows-1252",
         "c.vcf",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:J=FCr=\r\n"
         "gen\r\nTEL;WORK:0301\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nN:G\x9Arber;\r\n"
         "TEL;QUOTED-PRINTABLE:=30=34=30 2\r\nEND:VCARD\r\n",
         {{"Jürgen", "0301"}, {"Gšrber", "040 2"}},
         ""},
        {"vCard: ORG as last resort, card without END, TEL outside a card ignored",
         "d.vcf",
         "TEL:0301\r\nBEGIN:VCARD\r\nORG:Firma;Abteilung\r\nTEL:0302\r\n",
         {{"Firma Abteilung", "0302"}},
         ""},
        {"router phonebook, Latin-1, CDATA, comment, entities",
         "book.xml",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<phonebooks><phonebook name=\"T\">"
         "<!-- x --><contact><category>0</category><person><realName>B\xE4r &amp; "
         "<![CDATA[S<hn]]></realName></person><telephony nid=\"2\"><number type=\"home\" "
         "prio=\"1\">030 1</number><number type=\"mobile\">&#x30;171 2</number><number/>"
         "</telephony></contact><contact><telephony><number>040 3</number></telephony></contact>"
         "</phonebook></phonebooks>",
         {{"Bär & S<hn", "030 1"}, {"Bär & S<hn", "0171 2"}, {"", "040 3"}},
         ""},
        {"CSV, German Outlook, semicolon, quotes, line break, Windows-1252",
         "o.csv",
         "Vorname;Nachname;Telefon geschäftlich;Mobiltelefon;Tel. privat\r\n"
         "J\xFCrgen;\"M\"\"a\nx\";030 1;;040 2\r\n;;;0171 3;\r\n",
         {{"Jürgen M\"a\nx", "030 1"}, {"Jürgen M\"a\nx", "040 2"}, {"", "0171 3"}},
         ""},
        {"CSV, Google, BOM, type columns skipped, several numbers in a cell",
         "g.csv",
         "\xEF\xBB\xBFName,Given Name,Phone 1 - Type,Phone 1 - Value,Phone 2 - Value\n"
         "\"Eva, Dr.\",Eva,Mobile,+49 171 1 ::: 030 2,\n",
         {{"Eva, Dr.", "+49 171 1"}, {"Eva, Dr.", "030 2"}},
         ""},
        {"CSV, Outlook's Unicode export: UTF-16 LE with its mark, a character beyond the BMP",
         "u.csv",
         "\xFF\xFE"
         "N\0a\0m\0e\0,\0P\0h\0o\0n\0e\0\n\0J\0\xFC\0r\0\x3D\xD8\x00\xDE,\0"
         "0\0"
         "3\0"
         "0\0\n\0"s,
         {{"Jür\U0001F600", "030"}},
         ""},
        {"CSV, UTF-16 BE with its mark, an unpaired surrogate",
         "b.csv",
         "\xFE\xFF\0N\0a\0m\0e\0,\0P\0h\0o\0n\0e\0\n\xD8\x00\0,\0"
         "1"s,
         {{"\xEF\xBF\xBD", "1"}},
         ""},
        {"CSV without any telephone column",
         "x.csv",
         "Name,E-mail\nA,a@b\n",
         {},
         "Die CSV-Datei hat keine Spalte mit Telefonnummern."},
        {"content decides without a known extension",
         "kontakte",
         "\n begin:vcard\nFN:A\nTEL:1\nEND:VCARD\n",
         {{"A", "1"}},
         ""},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const BookReading reading = ReadBookFile(c.fileName, c.bytes);
        EXPECT_EQ(reading.entries, c.entries);
        EXPECT_EQ(reading.error, c.error);
    }
}

TEST(BookReadersTest, CardDavMultistatusWithAnyPrefixes) {
    const std::string response =
        "<?xml version=\"1.0\"?><x:multistatus xmlns:x=\"DAV:\" "
        "xmlns:C=\"urn:ietf:params:xml:ns:carddav\"><x:response><x:href>/a/1.vcf</x:href>"
        "<x:propstat><x:prop><x:getetag>\"e1\"</x:getetag><C:address-data>BEGIN:VCARD&#13;\n"
        "FN:Ann\nTEL:030 1\nEND:VCARD</C:address-data></x:prop></x:propstat></x:response>"
        "<response xmlns=\"DAV:\"><href>/a/2.vcf</href><propstat><prop><getetag>e2</getetag>"
        "<address-data xmlns=\"urn:ietf:params:xml:ns:carddav\"><![CDATA[BEGIN:VCARD\nFN:Bo\n"
        "TEL:040 2]]></address-data><other:address-data xmlns:other=\"urn:other\">BEGIN:VCARD"
        "\nFN:Nein\nTEL:1\nEND:VCARD</other:address-data></prop></propstat></response>"
        "</x:multistatus>";
    EXPECT_EQ(ReadBookFile("antwort.xml", response).entries,
              (std::vector<BookEntry>{{"Ann", "030 1"}, {"Bo", "040 2"}}));
    const CardDavListing listing = ReadCardDavListing(response);
    EXPECT_EQ(listing.error, "");
    EXPECT_EQ(listing.resources,
              (std::vector<CardDavResource>{{"/a/1.vcf", "\"e1\""}, {"/a/2.vcf", "e2"}}));
}

}  // namespace
}  // namespace kw
