#include "platform/qt/ini_settings_store.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/error_numbers.h"
#include "tests/posix/posix_test_support.h"
#include "tests/support/hostile_texts.h"

namespace kw::qt {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr char kApp[] = "Klingelwart";
constexpr char kSection[] = "Options";
constexpr uid_t kNobody = 65534;

class TempDir {
  public:
    TempDir() {
        std::string name = (fs::temp_directory_path() / "kw_settings_XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr) {
            path_ = name;
            // Reachable for the unprivileged child of the read-only cases.
            fs::permissions(path_, fs::perms(0755));
        }
    }
    ~TempDir() {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(path_, ec)) {
            if (entry.is_directory(ec)) {
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
            }
        }
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Spit(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::set<std::string> Entries(const fs::path& dir) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string Read(const fs::path& file, const char* key) {
    return IniSettingsStore(kApp, file).read(kApp, kSection, key);
}

class IniSettingsStoreTest : public ::testing::Test {
  protected:
    TempDir dir_;
    fs::path file_ = dir_.path() / "Klingelwart.conf";
    IniSettingsStore store_{kApp, file_};
};

TEST_F(IniSettingsStoreTest, EveryTextReadsBackExactly) {
    const std::vector<std::string> texts = test::HostileTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(store_.write(kApp, kSection, "K" + std::to_string(i), texts[i]), std::nullopt);
    }
    // All at once, so no value may have swallowed or disturbed another.
    IniSettingsStore fresh(kApp, file_);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fresh.read(kApp, kSection, "K" + std::to_string(i)), texts[i]);
        EXPECT_EQ(store_.read(kApp, kSection, "K" + std::to_string(i)), texts[i]);
    }
    EXPECT_FALSE(fs::exists(store_.backupPath()));
}

TEST_F(IniSettingsStoreTest, MissingFileSectionOrKeyReadsEmptyAndCreatesNothing) {
    const std::optional<std::string> contents[] = {std::nullopt, "", "[Other]\nDoJob=1\n",
                                                   "[Options]\nShell=sh\n", "DoJob=1\n"};
    for (const auto& content : contents) {
        SCOPED_TRACE(content.value_or("(no file)"));
        fs::remove(file_);
        if (content) {
            Spit(file_, *content);
        }
        const auto before = Entries(dir_.path());
        EXPECT_EQ(store_.read(kApp, kSection, "DoJob"), "");
        EXPECT_EQ(Entries(dir_.path()), before);
    }
}

TEST_F(IniSettingsStoreTest, AnswersOnlyForItsOwnApplication) {
    ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "1"), std::nullopt);
    const std::string before = Slurp(file_);
    EXPECT_EQ(store_.read("Andere", kSection, "DoJob"), "");
    EXPECT_EQ(store_.write("Andere", kSection, "DoJob", "2"), MakeFailure(error::kInvalidCall));
    EXPECT_EQ(Slurp(file_), before);
}

TEST_F(IniSettingsStoreTest, ABatchIsStoredWholeOrNotAtAll) {
    ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "1"), std::nullopt);
    const std::string before = Slurp(file_);
    const platform::SettingsValue refused[] = {{"DoJob", "0"}, {"", "x"}, {"Shell", "sh"}};
    EXPECT_EQ(store_.writeAll(kApp, kSection, refused), MakeFailure(error::kInvalidCall));
    EXPECT_EQ(Slurp(file_), before);

    const platform::SettingsValue batch[] = {{"DoJob", "0"}, {"Shell", "sh"}, {"DoJob", "2"}};
    ASSERT_EQ(store_.writeAll(kApp, kSection, batch), std::nullopt);
    EXPECT_EQ(Read(file_, "DoJob"), "2");
    EXPECT_EQ(Read(file_, "Shell"), "sh");
    EXPECT_EQ(Entries(dir_.path()), std::set<std::string>{"Klingelwart.conf"});
}

TEST_F(IniSettingsStoreTest, ReplacesOneValueAndKeepsHandWrittenOthers) {
    // An unquoted list parses as several values; QSettings joins lists with ", " too.
    Spit(file_, "\n[Options]\n\nDoJob=1\n  Shell = \"cmd, /c\"\nParameter=a, b\n[Fremd]\nx=y\n");
    ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "0"), std::nullopt);
    EXPECT_EQ(Read(file_, "DoJob"), "0");
    EXPECT_EQ(Read(file_, "Shell"), "cmd, /c");
    EXPECT_EQ(Read(file_, "Parameter"), "a, b");
    EXPECT_EQ(IniSettingsStore(kApp, file_).read(kApp, "Fremd", "x"), "y");
    EXPECT_FALSE(fs::exists(store_.backupPath())) << "a good file needs no backup";
    EXPECT_EQ(Entries(dir_.path()), std::set<std::string>{"Klingelwart.conf"});
}

TEST_F(IniSettingsStoreTest, ListsWithTypedLookingElementsReadAsTextBeforeAndAfterAWrite) {
    // QSettings parses these as lists of typed values, and rewrites a NUL element as "@String(".
    const std::pair<std::string, std::string> cases[] = {
        {"x, @y", "x, @y"}, {"a, b\\0c", "a, b\0c"s}, {"@@a, b", "@a, b"}};
    for (const auto& [written, read] : cases) {
        SCOPED_TRACE(written);
        Spit(file_, "[Options]\nShell=" + written + "\n");
        EXPECT_EQ(Read(file_, "Shell"), read);
        ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "0"), std::nullopt);
        EXPECT_EQ(Read(file_, "Shell"), read);
    }
}

TEST_F(IniSettingsStoreTest, DamagedFileReadsWhatItCanAndIsBackedUpBeforeTheFirstWrite) {
    std::string binary;
    for (int c = 0; c < 256; ++c) {
        binary += static_cast<char>(c);
    }
    const std::string good = "[Options]\nDoJob=ja\n";
    const std::string damaged[] = {
        good + binary,
        good + "Shell=\xff\xfe\xc3(\n",
        good + "nur Text ohne Gleichheitszeichen\n",
        "Kaputt\n" + good,
        good + "Shell=\"offen",
        good + "Shell=\"offen\nStart=1\n",
        good + std::string(1'000'000, 'x') + "\n",
        good + "Shell=a\0b\n\0\0\0\n"s,
    };
    for (std::size_t i = 0; i < std::size(damaged); ++i) {
        SCOPED_TRACE(i);
        const fs::path file = dir_.path() / std::to_string(i) / "Klingelwart.conf";
        fs::create_directory(file.parent_path());
        Spit(file, damaged[i]);
        IniSettingsStore store(kApp, file);
        EXPECT_EQ(store.read(kApp, kSection, "DoJob"), "ja");
        EXPECT_FALSE(fs::exists(store.backupPath()));

        ASSERT_EQ(store.write(kApp, kSection, "Database", "neu"), std::nullopt);
        EXPECT_EQ(store.backupPath(), fs::path(file.string() + ".beschaedigt"));
        EXPECT_EQ(Slurp(store.backupPath()), damaged[i]);
        EXPECT_EQ(Read(file, "DoJob"), "ja");
        EXPECT_EQ(Read(file, "Database"), "neu");

        ASSERT_EQ(store.write(kApp, kSection, "Start", "1"), std::nullopt);
        EXPECT_EQ(Entries(file.parent_path()).size(), 2U) << "the repaired file needs no backup";
    }
}

TEST_F(IniSettingsStoreTest, LinesTheRewriteDropsAreKeptInABackupOnce) {
    const std::string cases[] = {
        "; meine Notiz\n[Options]\nDoJob=1\n",      "[Options]\n   ; eingerueckt\nDoJob=1\n",
        "[Options]\nDoJob=1 ; nach dem Wert\n",     "[Options]\nDoJob=1\nDoJob=2\n",
        "[Options]\nDoJob=1\n[Options]\nDoJob=2\n",
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i]);
        const fs::path file = dir_.path() / std::to_string(i) / "Klingelwart.conf";
        fs::create_directory(file.parent_path());
        Spit(file, cases[i]);
        IniSettingsStore store(kApp, file);
        ASSERT_EQ(store.write(kApp, kSection, "Shell", "sh"), std::nullopt);
        EXPECT_EQ(store.backupPath(), fs::path(file.string() + ".bak"));
        EXPECT_EQ(Slurp(store.backupPath()), cases[i]);
        ASSERT_EQ(store.write(kApp, kSection, "Shell", "bash"), std::nullopt);
        EXPECT_EQ(Entries(file.parent_path()).size(), 2U) << "nothing more to lose";
    }
}

// A FIFO would block the start for good, a device or a huge file would never end or fill the
// memory; all read as empty, as a missing file does.
TEST_F(IniSettingsStoreTest, OnlyRegularFilesUpToTheCapAreRead) {
    const std::string good = "[Options]\nDoJob=ja\n";
    const std::string atCap =
        good + std::string(IniSettingsStore::kMaxFileBytes - good.size(), '\n');
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        const char* expected;
    };
    const Case cases[] = {
        {"FIFO", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0); }, ""},
        {"device", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }, ""},
        {"directory", [](const fs::path& f) { fs::create_directory(f); }, ""},
        {"at the cap", [&](const fs::path& f) { Spit(f, atCap); }, "ja"},
        {"over the cap", [&](const fs::path& f) { Spit(f, atCap + "\n"); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir_.path() / c.name;
        c.make(file);
        EXPECT_EQ(Read(file, "DoJob"), c.expected);
    }
}

TEST_F(IniSettingsStoreTest, WritesNeverGoIntoAFifo) {
    for (const char* fifo : {"Klingelwart.conf", "Klingelwart.conf.lock"}) {
        SCOPED_TRACE(fifo);
        const fs::path file = dir_.path() / fifo / "Klingelwart.conf";
        fs::create_directory(file.parent_path());
        ASSERT_EQ(::mkfifo((file.parent_path() / fifo).c_str(), 0600), 0);
        IniSettingsStore store(kApp, file);
        EXPECT_EQ(store.write(kApp, kSection, "DoJob", "1"), MakeFailure(error::kPathFileAccess));
        EXPECT_TRUE(fs::is_fifo(file.parent_path() / fifo));
    }
}

TEST_F(IniSettingsStoreTest, AnOversizedFileIsKeptAsABackupByTheFirstWrite) {
    const std::string huge =
        "[Options]\nDoJob=ja\n" + std::string(IniSettingsStore::kMaxFileBytes, 'x');
    Spit(file_, huge);
    ASSERT_EQ(store_.write(kApp, kSection, "Shell", "sh"), std::nullopt);
    EXPECT_EQ(Slurp(store_.backupPath()), huge);
    EXPECT_EQ(Read(file_, "Shell"), "sh");
    EXPECT_EQ(Read(file_, "DoJob"), "") << "not read, so not carried over";
}

TEST_F(IniSettingsStoreTest, LaterDamageDoesNotOverwriteAnEarlierBackup) {
    Spit(file_, "erster Schaden\n");
    ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "1"), std::nullopt);
    const fs::path first = store_.backupPath();
    Spit(file_, "zweiter Schaden\n");
    ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "1"), std::nullopt);
    EXPECT_EQ(store_.backupPath(), fs::path(file_.string() + ".beschaedigt.2"));
    EXPECT_EQ(Slurp(first), "erster Schaden\n");
    EXPECT_EQ(Slurp(store_.backupPath()), "zweiter Schaden\n");
}

TEST_F(IniSettingsStoreTest, UnusablePathsFailWithPathFileAccess) {
    const std::function<fs::path()> setups[] = {
        [&] {  // the parent is a regular file: ENOTDIR
            Spit(dir_.path() / "blocker", "x");
            return dir_.path() / "blocker" / "Klingelwart.conf";
        },
        [&] {  // the file itself is a directory
            fs::create_directory(file_);
            return file_;
        },
    };
    for (const auto& setup : setups) {
        const fs::path file = setup();
        SCOPED_TRACE(file);
        IniSettingsStore store(kApp, file);
        EXPECT_EQ(store.read(kApp, kSection, "DoJob"), "");
        EXPECT_EQ(store.write(kApp, kSection, "DoJob", "1"), MakeFailure(error::kPathFileAccess));
    }
    EXPECT_EQ(Entries(dir_.path()), (std::set<std::string>{"Klingelwart.conf", "blocker"}));
}

// Root ignores permissions, so the write runs in a child that has become nobody.
TEST_F(IniSettingsStoreTest, ReadOnlyPlacesFailWithAccessDeniedAndKeepTheOldValues) {
    struct Case {
        const char* name;
        std::string content;
        fs::perms directoryMode;
        fs::perms fileMode;
    };
    const Case cases[] = {
        {"read-only directory", "[Options]\nDoJob=alt\n", fs::perms(0555), fs::perms(0644)},
        {"read-only file", "[Options]\nDoJob=alt\n", fs::perms(0755), fs::perms(0444)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = dir_.path() / c.name;
        const fs::path file = dir / "Klingelwart.conf";
        fs::create_directory(dir);
        Spit(file, c.content);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(dir.c_str(), kNobody, kNobody), 0);
            ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
        }
        fs::permissions(file, c.fileMode);
        fs::permissions(dir, c.directoryMode);

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
                ::_exit(77);
            }
            IniSettingsStore store(kApp, file);
            const MaybeFailure failure = store.write(kApp, kSection, "DoJob", "neu");
            ::_exit(failure == MakeFailure(error::kAccessDenied) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 77) {
            GTEST_SKIP() << "cannot drop privileges";
        }
        EXPECT_EQ(WEXITSTATUS(status), 0) << "expected failure 70 in the child";
        EXPECT_EQ(Slurp(file), c.content);
        EXPECT_EQ(Entries(dir), std::set<std::string>{"Klingelwart.conf"});
    }
}

// Another process changes a value to one of the same length within the same millisecond: QSettings'
// per-process cache, which trusts size and time stamp, would miss that.
void ReplaceUnnoticeably(const fs::path& file, const std::string& from, const std::string& to) {
    const auto stamp = fs::last_write_time(file);
    std::string bytes = Slurp(file);
    bytes.replace(bytes.find(from), from.size(), to);
    Spit(file, bytes);
    fs::last_write_time(file, stamp);
}

TEST_F(IniSettingsStoreTest, ChangeByAnotherProcessIsSeenByTheNextReadAndKeptByTheNextWrite) {
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "mine"), std::nullopt);
        ASSERT_EQ(store_.read(kApp, kSection, "DoJob"), "mine");
        ReplaceUnnoticeably(file_, "DoJob=mine", "DoJob=them");
        EXPECT_EQ(store_.read(kApp, kSection, "DoJob"), "them");

        ReplaceUnnoticeably(file_, "DoJob=them", "DoJob=xxxx");
        ASSERT_EQ(store_.write(kApp, kSection, "Shell", "sh" + std::to_string(round)),
                  std::nullopt);
        EXPECT_EQ(store_.read(kApp, kSection, "DoJob"), "xxxx");
    }
}

TEST_F(IniSettingsStoreTest, CreatesMissingDirectoriesPrivately) {
    const fs::path file = dir_.path() / "a" / "b" / "Klingelwart.conf";
    ASSERT_EQ(IniSettingsStore(kApp, file).write(kApp, kSection, "DoJob", "1"), std::nullopt);
    EXPECT_EQ(Read(file, "DoJob"), "1");
    EXPECT_EQ(fs::status(dir_.path() / "a").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(file.parent_path()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(Entries(file.parent_path()), std::set<std::string>{"Klingelwart.conf"});
}

TEST_F(IniSettingsStoreTest, WritesThroughASymbolicLink) {
    const fs::path real = dir_.path() / "dotfiles.conf";
    Spit(real, "[Options]\nShell=sh\n");
    fs::create_symlink(real, file_);
    ASSERT_EQ(store_.write(kApp, kSection, "DoJob", "1"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(Read(real, "DoJob"), "1");
    EXPECT_EQ(Read(real, "Shell"), "sh");
}

using posix::testing::ScopedEnv;

TEST(IniSettingsStoreDefaultPath, FollowsXdgConfigHomeOnlyWhenAbsolute) {
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const fs::path passwdHome = user->pw_dir;
    struct Case {
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        fs::path expected;
    };
    const Case cases[] = {
        {"/xdg/conf", "/home/u", "/xdg/conf/Klingelwart.conf"},
        {std::nullopt, "/home/u", "/home/u/.config/Klingelwart.conf"},
        {"", "/home/u", "/home/u/.config/Klingelwart.conf"},
        {"relative/conf", "/home/u", "/home/u/.config/Klingelwart.conf"},
        {std::nullopt, std::nullopt, passwdHome / ".config/Klingelwart.conf"},
        {std::nullopt, "", passwdHome / ".config/Klingelwart.conf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        const ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        const ScopedEnv home("HOME", c.home);
        EXPECT_EQ(IniSettingsStore::defaultPath(kApp), c.expected);
    }
}

}  // namespace
}  // namespace kw::qt
