#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/call_list_csv.h"
#include "core/call_list_record.h"
#include "core/call_log.h"
#include "core/crc32.h"
#include "tests/support/memory_call_list_file.h"

namespace kw {
namespace {

CallEntry Entry(std::uint64_t key, std::string caller = "030 1234") {
    return CallEntry{key, 1765115101,          std::move(caller),   "4711",
                     "",  CallSourceKind::Sip, CallOutcome::Unknown};
}

std::string Keys(const std::vector<CallEntry>& entries) {
    std::string out;
    for (const CallEntry& e : entries) {
        out += std::to_string(e.key) + ":" + std::string(OutcomeWord(e.outcome)).substr(0, 1) + " ";
    }
    return out;
}

TEST(CallListRecord, DamageIsSkippedCountedAndReadPast) {
    const std::string a = EncodeCallEntry(Entry(1));
    const std::string b = EncodeCallEntry(Entry(2));
    const std::string c = EncodeCallEntry(Entry(3));
    std::string flipped = b;
    flipped[flipped.size() - 3] ^= 0x20;
    std::string huge = b;
    huge[7] = '\x7F';  // a length beyond the limit
    const struct {
        const char* name;
        std::string file;
        std::string keys;
        std::size_t damaged;
    } cases[] = {
        {"intact", a + b + EncodeCallOutcome(1, CallOutcome::Missed), "1:m 2:u ", 0},
        {"torn end", a + b.substr(0, b.size() - 1), "1:u ", 1},
        {"torn in the middle, appended after", a + b.substr(0, 20) + c, "1:u 3:u ", 1},
        {"flipped bit", a + flipped + c, "1:u 3:u ", 1},
        {"length beyond the limit", a + huge + c, "1:u 3:u ", 1},
        {"garbage before and between", "xx" + a + std::string(50, '\0') + c, "1:u 3:u ", 2},
        {"a magic inside garbage", a + std::string(kCallRecordMagic) + "zz" + c, "1:u 3:u ", 1},
        {"answered wins over missed, late entry copy",
         a + EncodeCallOutcome(1, CallOutcome::Answered) +
             EncodeCallOutcome(1, CallOutcome::Missed) + a,
         "1:a ", 0},
        {"removed", a + b + EncodeCallRemoved(1) + EncodeCallOutcome(1, CallOutcome::Missed),
         "2:u ", 0},
        {"outcome for a call never listed", EncodeCallOutcome(9, CallOutcome::Missed) + a, "1:u ",
         0},
        {"empty", "", "", 0},
    };
    for (const auto& k : cases) {
        const CallListContents read = ReadCallList(k.file);
        EXPECT_EQ(Keys(read.entries), k.keys) << k.name;
        EXPECT_EQ(read.damaged, k.damaged) << k.name;
    }
}

TEST(CallListRecord, SoundChecksumButSenselessFieldsAreDamage) {
    const auto forged = [](std::string payload) {
        std::string r(kCallRecordMagic);
        for (std::uint32_t v : {static_cast<std::uint32_t>(payload.size()), Crc32(payload)}) {
            for (int s = 0; s < 32; s += 8) {
                r.push_back(static_cast<char>(v >> s));
            }
        }
        return r + payload;
    };
    const auto field = [](std::string_view f) {
        return std::string{static_cast<char>(f.size()), '\0'} + std::string(f);
    };
    const std::string good = field("entry") + field("5") + field("-1") + field("a") + field("b") +
                             field("") + field("router") + field("missed");
    for (const std::string& payload :
         {field("entry") + field("5") + field("x1"), field("entry") + field("-5"),
          field("outcome") + field("5") + field("maybe"), field("removed"),
          field("other") + field("1"),
          std::string("\x09\x00"
                      "ab",
                      4),
          good.substr(0, good.size() - 3)}) {
        const CallListContents read = ReadCallList(forged(payload) + forged(good));
        EXPECT_EQ(Keys(read.entries), "5:m ") << payload;
        EXPECT_EQ(read.damaged, 1U) << payload;
    }
    // Texts are cut at a character's end and made valid UTF-8.
    const std::string caller = std::string(kMaxCallText - 1, 'x') + "\xC3\xBC" + "\xFF";
    const auto read =
        ReadCallList(EncodeCallEntry(Entry(1, caller)) + EncodeCallEntry(Entry(2, "\xFF")));
    EXPECT_EQ(read.entries[0].caller, std::string(kMaxCallText - 1, 'x'));
    EXPECT_EQ(read.entries[1].caller, "\xEF\xBF\xBD");
}

TEST(CallListRecord, KeepsTheNewest) {
    std::string file;
    for (std::uint64_t key = 1; key <= 10; ++key) {
        file += EncodeCallEntry(Entry(key)) + EncodeCallOutcome(key, CallOutcome::Answered);
    }
    EXPECT_EQ(Keys(ReadCallList(file, 3).entries), "8:a 9:a 10:a ");
}

TEST(CallLog, FullDiskKeepsNothingNewLosesNothingOldAndSaysSoOnce) {
    test::MemoryCallListFile file;
    CallLog log(file);
    EXPECT_EQ(log.add(Entry(1)), "");
    file.full = true;
    EXPECT_EQ(log.add(Entry(2)),
              "Der Anruf konnte nicht in die Anrufliste geschrieben werden (Datenträger voll). "
              "Ältere Einträge bleiben erhalten.");
    EXPECT_EQ(log.add(Entry(3)), "");
    EXPECT_EQ(log.setOutcome(1, CallOutcome::Missed), "");
    file.full = false;
    EXPECT_EQ(log.add(Entry(4)), "");
    EXPECT_EQ(log.setOutcome(4, CallOutcome::Answered), "");
    file.full = true;
    EXPECT_NE(log.add(Entry(5)), "");  // a new spell of failures says so again
    EXPECT_NE(log.remove({1}), "");
    CallLog again(file);
    EXPECT_EQ(again.load(), "");
    EXPECT_EQ(Keys({log.entries().begin(), log.entries().end()}), "1:u 4:a ");
    EXPECT_EQ(Keys({again.entries().begin(), again.entries().end()}), "1:u 4:a ");
}

TEST(CallLog, RewritesTheFileWhenItHasGrownWellBeyond) {
    test::MemoryCallListFile file;
    CallLog log(file, 2);
    for (std::uint64_t key = 1; key <= 4; ++key) {
        log.add(Entry(key));
        log.setOutcome(key, CallOutcome::Missed);
    }
    EXPECT_EQ(file.replaced, 1);
    EXPECT_EQ(Keys(ReadCallList(file.bytes).entries), "3:m 4:m ");
    EXPECT_EQ(log.missedAfter(0), 2U);
    EXPECT_EQ(log.missedAfter(3), 1U);
    EXPECT_EQ(log.missedAfter(4), 0U);
    EXPECT_EQ(log.remove({3}), "");
    EXPECT_EQ(log.clear(), "");
    EXPECT_EQ(Keys(ReadCallList(file.bytes).entries), "");
}

}  // namespace
}  // namespace kw

namespace kw {
namespace {

TEST(CallListCsv, HostileCallerTextsStayPlainText) {
    const struct {
        std::string cell;
        std::string written;
    } cases[] = {
        {"030 1234", "030 1234"},
        {"+49 30 1234", "'+49 30 1234"},
        {"=HYPERLINK(\"http://x\";\"y\")", "\"'=HYPERLINK(\"\"http://x\"\";\"\"y\"\")\""},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tx", "'\tx"},
        {"\r=1", "\"'\r=1\""},
        {"a\r\nb", "\"a\r\nb\""},
        {" =1", " =1"},  // a spreadsheet reads this as text already
        {"Müller \"Mü\"", "\"Müller \"\"Mü\"\"\""},
        {"", ""},
    };
    for (const auto& c : cases) {
        const std::string csv = CallListCsv({{c.cell, "", "", "", ""}});
        const std::string expected =
            "\xEF\xBB\xBFZeit;Anrufer;Leitung;Quelle;Ergebnis\r\n" + c.written + ";;;;\r\n";
        EXPECT_EQ(csv, expected) << c.cell;
    }
}

TEST(CallListRow, CallerAndOutcomeTexts) {
    CallEntry entry{
        1, 0, "030 1234", "4711", "Müller", CallSourceKind::RouterMonitor, CallOutcome::Missed};
    CallTimeFormatter times;
    const CallListRow row = CallListRowOf(entry, times);
    EXPECT_EQ(row[1], "Müller (030 1234)");
    EXPECT_EQ(row[3], "Router");
    EXPECT_EQ(row[4], "verpasst");
    EXPECT_EQ(CallerText("", "030"), "030");
    EXPECT_EQ(CallerText("Müller", ""), "Müller");
    EXPECT_EQ(OutcomeText(CallOutcome::Unknown), "");
}

}  // namespace
}  // namespace kw
