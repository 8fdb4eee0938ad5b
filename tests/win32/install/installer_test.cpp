// The real installer in the Wine prefix, silently as an administrator's deployment runs it, and
// the installed Klingelwart.exe started from where the installer put it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32/gui/child_process.h"
#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/poll_until.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/install/help_contents.h"
#include "tests/win32/install/installation.h"
#include "tests/win32/install/shortcut_target.h"
#include "tests/win32/install/uninstall_entry.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32::install {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kVersion[] = L"" KW_VERSION_TEXT;
constexpr bool kWithManual = KW_INSTALLER_HAS_CHM != 0;
// A setting as the options dialog writes it; the "&" and blanks must survive.
constexpr wchar_t kUserDatabase[] = L"C:\\Daten\\Telefon & Co.accdb";
// What NSIS answers when the script gave up before touching anything.
constexpr unsigned long kRefused = 2;

std::uintmax_t FileSize(const fs::path& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

// One silent install for the suite; an earlier run's leftovers go first, this run's afterwards.
class Installed : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        RemoveInstallation();
        ASSERT_TRUE(fs::exists(InstallerProgram())) << InstallerProgram();
        ASSERT_EQ(RunInstallerSilently(), 0u);
    }
    static void TearDownTestSuite() { RemoveInstallation(); }
};

TEST_F(Installed, PutsTheProgramItsManualAndUninstallerIntoProgramFiles) {
    struct Expected {
        const wchar_t* file;
        bool present;
    };
    const Expected files[] = {
        {L"Klingelwart.exe", true},
        {L"klingelwart-ring.exe", true},
        {L"Uninstall.exe", true},
        {L"KLINGELWART2.chm", kWithManual},
    };
    for (const Expected& expected : files) {
        SCOPED_TRACE(fs::path(expected.file).string());
        const fs::path path = InstallDirectory() / expected.file;
        EXPECT_EQ(fs::exists(path), expected.present) << path;
        if (expected.present) {
            EXPECT_GT(FileSize(path), 0u);
        }
    }
    EXPECT_EQ(InstallDirectory().parent_path().filename().wstring(), L"Program Files");
    // The very program of this build, not a stale one.
    EXPECT_EQ(test::ReadBytes(InstallDirectory() / L"Klingelwart.exe"),
              test::ReadBytes(gui::KlingelwartProgram()));
    EXPECT_EQ(test::ReadBytes(InstallDirectory() / L"klingelwart-ring.exe"),
              test::ReadBytes(test::ProgramDirectory() / L"klingelwart-ring.exe"));
    // Runs from there on its own: nobody listens, so "not taken".
    const gui::ChildProcess ring(InstallDirectory() / L"klingelwart-ring.exe", L"030 4711");
    EXPECT_EQ(ring.awaitExit(), std::optional<DWORD>(1));
}

TEST_F(Installed, StartMenuShortcutsForAllUsersStartTheInstalledFiles) {
    struct Shortcut {
        const wchar_t* link;
        const wchar_t* target;
        bool present;
    };
    const Shortcut shortcuts[] = {
        {L"Klingelwart.lnk", L"Klingelwart.exe", true},
        {L"Klingelwart-Hilfe.lnk", L"KLINGELWART2.chm", kWithManual},
    };
    for (const Shortcut& shortcut : shortcuts) {
        SCOPED_TRACE(fs::path(shortcut.link).string());
        const fs::path link = StartMenuDirectory() / shortcut.link;
        ASSERT_EQ(fs::exists(link), shortcut.present) << link;
        if (shortcut.present) {
            std::error_code ec;
            EXPECT_TRUE(
                fs::equivalent(ShortcutTarget(link), InstallDirectory() / shortcut.target, ec))
                << ShortcutTarget(link);
        }
    }
}

TEST_F(Installed, RegistersWithAppsAndFeatures) {
    const std::wstring dir = InstallDirectory().wstring();
    const auto values = UninstallEntry::values();
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"DisplayName", L"Klingelwart"},
        {L"DisplayVersion", kVersion},
        {L"Publisher", L"Die Klingelwart-Entwickler"},
        {L"DisplayIcon", L"\"" + dir + L"\\Klingelwart.exe\",0"},
        {L"InstallLocation", dir},
        {L"UninstallString", L"\"" + dir + L"\\Uninstall.exe\""},
        {L"QuietUninstallString", L"\"" + dir + L"\\Uninstall.exe\" /S"},
        {L"NoModify", L"dword:1"},
        {L"NoRepair", L"dword:1"},
    };
    for (const auto& [name, value] : expected) {
        SCOPED_TRACE(fs::path(name).string());
        const auto found = values.find(name);
        ASSERT_NE(found, values.end());
        EXPECT_EQ(found->second, value);
    }
    // In KiB, as Apps & Features shows it: at least the program itself.
    ASSERT_TRUE(values.contains(L"EstimatedSize"));
    const std::uintmax_t programKiB = FileSize(InstallDirectory() / L"Klingelwart.exe") / 1024;
    const std::wstring size = values.at(L"EstimatedSize");
    ASSERT_TRUE(size.starts_with(L"dword:")) << fs::path(size).string();
    const std::uintmax_t estimated = std::stoull(size.substr(6));
    EXPECT_GE(estimated, programKiB);
    EXPECT_LT(estimated, programKiB * 4 + 1024);
}

TEST_F(Installed, InstalledProgramShowsItsMainWindowAndEndsWhenAsked) {
    gui::KlingelwartSession session(InstallDirectory() / L"Klingelwart.exe");
    ASSERT_TRUE(session.ready());
    EXPECT_EQ(gui::TextOf(session.mainWindow()),
              std::wstring(L"Klingelwart (Version ") + kVersion + L")");
    EXPECT_TRUE(session.end());
}

TEST_F(Installed, HelpOpensTheInstalledManual) {
    if (!kWithManual) {
        GTEST_SKIP() << "built without the manual";
    }
    gui::KlingelwartSession session(InstallDirectory() / L"Klingelwart.exe");
    ASSERT_TRUE(session.ready());
    session.menu("mnuHilfe");
    HWND help = nullptr;
    EXPECT_TRUE(gui::PollUntil([&] {
        help = gui::FindTopWindow(session.processId(), L"HH Parent");
        return help != nullptr;
    }));
    if (help != nullptr) {
        EXPECT_EQ(gui::TextOf(help), L"Klingelwart Handbuch");
        const std::vector<std::wstring> expected = {
            L"Einführung",
            L"Das Hauptfenster",
            L"Der Dialog Optionen",
            L"Die Anrufliste",
            L"Der Dialog Anrufquellen",
            L"Der Dialog Telefonbücher",
            L"Der Dialog Anzeige und Start",
            L"Einstellungen in Skripten",
            L"Beispiel: Prozedur in Access",
            L"Softphone anbinden (Linux)",
            L"Softphone anbinden (Windows)",
            L"Fehlermeldungen",
        };
        EXPECT_EQ(HelpContentsTitles(session.processId(), help), expected);
        PostMessageW(help, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(session.end());
}

TEST_F(Installed, NeitherInstallerNorUninstallerTouchesARunningKlingelwart) {
    const fs::path exe = InstallDirectory() / L"Klingelwart.exe";
    const auto before = test::ReadBytes(exe);
    const auto entryBefore = UninstallEntry::values();
    gui::KlingelwartSession session(exe);
    ASSERT_TRUE(session.ready());

    EXPECT_EQ(RunInstallerSilently(), kRefused);
    EXPECT_EQ(RunUninstallerSilently(), kRefused);

    EXPECT_TRUE(session.process().running());
    EXPECT_EQ(test::ReadBytes(exe), before);
    EXPECT_TRUE(fs::exists(InstallDirectory() / L"Uninstall.exe"));
    EXPECT_TRUE(fs::exists(StartMenuDirectory() / L"Klingelwart.lnk"));
    EXPECT_EQ(UninstallEntry::values(), entryBefore);
    EXPECT_TRUE(session.end());
}

TEST_F(Installed, InstallingAgainOverItselfKeepsOneWorkingInstallation) {
    ASSERT_EQ(RunInstallerSilently(), 0u);
    EXPECT_EQ(test::ReadBytes(InstallDirectory() / L"Klingelwart.exe"),
              test::ReadBytes(gui::KlingelwartProgram()));
    EXPECT_TRUE(UninstallEntry::exists());
}

// Each case a whole install and uninstall of its own.
TEST(Uninstall, RemovesWhatTheInstallerPutThereAndKeepsTheUsersSettings) {
    struct Case {
        const char* what;
        bool userFileInInstallDirectory;
    };
    const Case cases[] = {
        {"only the installed files", false},
        {"a file of the user beside them", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveInstallation();
        const gui::OptionsRegistry settings;
        ASSERT_TRUE(settings.set(L"Pfad", kUserDatabase));
        ASSERT_EQ(RunInstallerSilently(), 0u);
        // As "Klingelwart beim Anmelden starten" leaves it.
        const std::wstring runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_CURRENT_USER, runKey.c_str(), L"Klingelwart", REG_SZ, L"x", 4),
            ERROR_SUCCESS);
        const fs::path userFile = InstallDirectory() / L"notizen.txt";
        if (c.userFileInInstallDirectory) {
            test::WriteBytes(userFile, "meins");
        }
        {
            gui::KlingelwartSession session(InstallDirectory() / L"Klingelwart.exe");
            ASSERT_TRUE(session.ready());
            ASSERT_TRUE(session.end());
        }

        ASSERT_EQ(RunUninstallerSilently(), 0u);
        // With _?= the uninstaller runs in place and cannot delete itself.
        std::error_code ec;
        fs::remove(InstallDirectory() / L"Uninstall.exe", ec);
        if (!c.userFileInInstallDirectory) {
            fs::remove(InstallDirectory(), ec);
        }

        for (const wchar_t* file :
             {L"Klingelwart.exe", L"klingelwart-ring.exe", L"KLINGELWART2.chm"}) {
            EXPECT_FALSE(fs::exists(InstallDirectory() / file)) << fs::path(file);
        }
        EXPECT_EQ(fs::exists(InstallDirectory()), c.userFileInInstallDirectory);
        EXPECT_EQ(test::ReadBytes(userFile), c.userFileInInstallDirectory
                                                 ? std::optional<std::string>("meins")
                                                 : std::nullopt);
        EXPECT_FALSE(fs::exists(StartMenuDirectory()));
        EXPECT_FALSE(UninstallEntry::exists());
        EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, runKey.c_str(), L"Klingelwart", RRF_RT_ANY,
                               nullptr, nullptr, nullptr),
                  ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(settings.value(L"Pfad"), std::wstring(kUserDatabase));
        RemoveInstallation();
    }
}

}  // namespace
}  // namespace kw::win32::install
