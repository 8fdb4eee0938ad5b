#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>
#include <set>

#include "core/call_log.h"
#include "platform/posix/posix_call_list_file.h"
#include "tests/posix/posix_test_support.h"

namespace kw::posix {
namespace {

using testing::TempDir;

CallEntry Entry(std::uint64_t key) {
    return CallEntry{key,
                     1765115101,
                     "030 1234",
                     "4711",
                     "Müller",
                     CallSourceKind::RouterMonitor,
                     CallOutcome::Unknown};
}

mode_t Mode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(PosixCallListFile, PrivateDirectoryAndFileReadBackAfterRestart) {
    TempDir temp;
    const std::string directory = CallListDirectory((temp.path() + "/data").c_str(), "/nowhere");
    EXPECT_EQ(CallListDirectory("relative", "/home/u"), "/home/u/.local/share/Klingelwart");
    PosixCallListFile file(directory);
    CallLog log(file);
    EXPECT_EQ(log.load(), "");
    EXPECT_EQ(log.add(Entry(1)), "");
    EXPECT_EQ(log.setOutcome(1, CallOutcome::Missed), "");
    EXPECT_EQ(Mode(directory), 0700U);
    EXPECT_EQ(Mode(file.path()), 0600U);
    PosixCallListFile reopened(directory);
    CallLog again(reopened);
    EXPECT_EQ(again.load(), "");
    ASSERT_EQ(again.entries().size(), 1U);
    EXPECT_EQ(again.entries().front().outcome, CallOutcome::Missed);
    EXPECT_EQ(again.clear(), "");
    EXPECT_EQ(again.add(Entry(2)), "");  // appends to the new file, not the replaced one
    CallLog third(reopened);
    third.load();
    EXPECT_EQ(third.entries().size(), 1U);
}

// A file size limit stands in for a full disk: the failing write must leave nothing behind.
TEST(PosixCallListFile, FullDiskKeepsOlderEntriesIntact) {
    TempDir temp;
    PosixCallListFile file(temp.path() + "/k");
    CallLog log(file);
    ASSERT_EQ(log.add(Entry(1)), "");
    struct stat before {};
    ::stat(file.path().c_str(), &before);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(before.st_size) + 20;  // room for part of a record
    ::setrlimit(RLIMIT_FSIZE, &tight);
    const std::string first = log.add(Entry(2));
    const std::string second = log.add(Entry(3));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(first,
              "Der Anruf konnte nicht in die Anrufliste geschrieben werden (Datei zu groß). Ältere "
              "Einträge bleiben erhalten.");
    EXPECT_EQ(second, "");
    struct stat after {};
    ::stat(file.path().c_str(), &after);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(log.add(Entry(4)), "");
    const CallListContents read = ReadCallList(file.read().bytes);
    EXPECT_EQ(read.damaged, 0U);
    EXPECT_EQ(read.entries.size(), 2U);
}

// A writer killed at any moment: every entry it had been told was kept is there.
TEST(PosixCallListFile, KilledWriterLosesNothingAcknowledged) {
    TempDir temp;
    const std::string directory = temp.path() + "/k";
    int acks[2];
    ASSERT_EQ(::pipe(acks), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(acks[0]);
        PosixCallListFile file(directory);
        CallLog log(file);
        for (std::uint64_t key = 1;; ++key) {
            if (log.add(Entry(key)).empty() && log.setOutcome(key, CallOutcome::Answered).empty()) {
                (void)!::write(acks[1], &key, sizeof key);
            }
        }
    }
    ::close(acks[1]);
    std::uint64_t acknowledged = 0;
    std::set<std::uint64_t> told;
    while (told.size() < 200 && ::read(acks[0], &acknowledged, sizeof acknowledged) > 0) {
        told.insert(acknowledged);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    while (::read(acks[0], &acknowledged, sizeof acknowledged) == sizeof acknowledged) {
        told.insert(acknowledged);
    }
    ::close(acks[0]);
    PosixCallListFile file(directory);
    const CallListContents read = ReadCallList(file.read().bytes);
    std::set<std::uint64_t> stored;
    for (const CallEntry& entry : read.entries) {
        EXPECT_TRUE(stored.insert(entry.key).second);
        if (told.count(entry.key) != 0) {
            EXPECT_EQ(entry.outcome, CallOutcome::Answered);
        }
    }
    for (const std::uint64_t key : told) {
        EXPECT_EQ(stored.count(key), 1U) << key;
    }
    EXPECT_LE(read.damaged, 1U);  // at most the torn last record
}

TEST(PosixCallListFile, DamagedFileKeepsTheRestReadable) {
    TempDir temp;
    PosixCallListFile file(temp.path() + "/k");
    for (std::uint64_t key = 1; key <= 3; ++key) {
        ASSERT_EQ(file.append(EncodeCallEntry(Entry(key))), "");
    }
    {
        std::fstream f(file.path(), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(EncodeCallEntry(Entry(1)).size()) + 20);
        f.write("\xFF\xFF\xFF", 3);
    }
    const CallListContents read = ReadCallList(file.read().bytes);
    EXPECT_EQ(read.damaged, 1U);
    ASSERT_EQ(read.entries.size(), 2U);
    EXPECT_EQ(read.entries.back().key, 3U);
}

}  // namespace
}  // namespace kw::posix
