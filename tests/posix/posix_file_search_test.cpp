#include "platform/posix/posix_file_search.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <ostream>
#include <string>

#include "posix_test_support.h"

namespace kw::posix {
namespace {

using namespace std::string_literals;
using testing::TempDir;

// The directory every case runs in:
//   db.mdb  a\b.mdb  other.accdb  .hidden.mdb  .only.hid   (regular files)
//   folder.mdb/  onlydirs/sub.mdb/  link-to-db -> db.mdb  dangling -> missing  pipe (FIFO)
class FileSearchFixture {
  public:
    FileSearchFixture() {
        for (const char* name : {"db.mdb", "a\\b.mdb", "other.accdb", ".hidden.mdb", ".only.hid",
                                 "folder.mdb/inner.mdb"}) {
            ::mkdir((dir_ / "folder.mdb").c_str(), 0755);
            std::ofstream(dir_ / name) << "x";
        }
        ::mkdir((dir_ / "onlydirs").c_str(), 0755);
        ::mkdir((dir_ / "onlydirs/sub.mdb").c_str(), 0755);
        EXPECT_EQ(::symlink((dir_ / "db.mdb").c_str(), (dir_ / "link-to-db").c_str()), 0);
        EXPECT_EQ(::symlink((dir_ / "missing").c_str(), (dir_ / "dangling").c_str()), 0);
        ::mkfifo((dir_ / "pipe").c_str(), 0600);
    }
    const TempDir& dir() const { return dir_; }

  private:
    TempDir dir_;
};

const FileSearchFixture& Files() {
    static const FileSearchFixture files;
    return files;
}

struct SearchCase {
    const char* name;
    std::string pattern;  // relative to the fixture directory unless it starts with "/"
    bool found;
};

// Named by the case only: the texts are long or not printable.
void PrintTo(const SearchCase& c, std::ostream* out) {
    *out << c.name;
}

class FileSearchFinds : public ::testing::TestWithParam<SearchCase> {};

TEST_P(FileSearchFinds, OrdinaryFilesOnly) {
    const SearchCase& c = GetParam();
    const std::string pattern =
        c.pattern.empty() || c.pattern.front() == '/' ? c.pattern : Files().dir() / c.pattern;
    PosixFileSearch search;
    Result<bool> result = search.findsOrdinaryFile(pattern);
    ASSERT_TRUE(result.ok()) << result.failure().description;
    EXPECT_EQ(result.value(), c.found) << pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FileSearchFinds,
    ::testing::Values(
        SearchCase{"regularFile", "db.mdb", true}, SearchCase{"directory", "folder.mdb", false},
        SearchCase{"directoryWithSlash", "folder.mdb/", false},
        SearchCase{"hiddenFile", ".hidden.mdb", false},
        SearchCase{"starMatchesFile", "*.mdb", true}, SearchCase{"questionMark", "d?.mdb", true},
        SearchCase{"bracket", "[cd]b.mdb", true},
        SearchCase{"starMatchesOnlyDirectory", "fold*", false},
        SearchCase{"starInDirectoryPart", "o*/*.mdb", false},
        SearchCase{"starInDirectoryPartFindsFile", "f*/*.mdb", true},
        SearchCase{"starDoesNotMatchHidden", "*.hid", false},
        SearchCase{"backslashIsOrdinary", "a\\b.mdb", true},
        SearchCase{"symlinkToFile", "link-to-db", true},
        SearchCase{"danglingSymlink", "dangling", false}, SearchCase{"fifo", "pipe", false},
        SearchCase{"missingFile", "nothere.mdb", false},
        SearchCase{"missingDirectory", "nodir/*.mdb", false},
        SearchCase{"missingWildcard", "*.xyz", false}, SearchCase{"empty", "", false},
        SearchCase{"root", "/", false}),
    [](const ::testing::TestParamInfo<SearchCase>& param) { return param.param.name; });

struct FailureCase {
    const char* name;
    std::string pattern;
};

// Named by the case only: the texts are long or not printable.
void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class FileSearchFails : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FileSearchFails, WithNumber76AndGermanText) {
    PosixFileSearch search;
    Result<bool> result = search.findsOrdinaryFile(GetParam().pattern);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.failure().number, 76);
    EXPECT_EQ(result.failure().description, "Pfad nicht gefunden");
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FileSearchFails,
    ::testing::Values(FailureCase{"nameTooLong", "/tmp/" + std::string(300, 'n') + ".mdb"},
                      FailureCase{"pathTooLong", "/tmp" +
                                                     [] {
                                                         std::string path;
                                                         for (int index = 0; index < 50; ++index) {
                                                             path += "/" + std::string(100, 'p');
                                                         }
                                                         return path;
                                                     }()},
                      FailureCase{"nulByte", "/tmp/db\0.mdb"s}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

TEST(FileSearch, UnreadableDirectoryMeansNothingFound) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every directory";
    }
    TempDir dir;
    ::mkdir((dir / "closed").c_str(), 0700);
    std::ofstream(dir / "closed/db.mdb") << "x";
    ::chmod((dir / "closed").c_str(), 0);
    PosixFileSearch search;
    Result<bool> result = search.findsOrdinaryFile(dir / "closed/*.mdb");
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.value());
}

}  // namespace
}  // namespace kw::posix
