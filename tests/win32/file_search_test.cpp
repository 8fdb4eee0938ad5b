#include "platform/win32/win32_file_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "core/error_numbers.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/windows_api.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32 {
namespace {

namespace fs = std::filesystem;

class FileSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty());
        test::WriteBytes(dir_.path() / "Kunden.mdb", "db");
        fs::create_directory(dir_.path() / "Ordner.mdb");
        fs::create_directory(dir_.path() / "nur versteckt");
        test::WriteBytes(dir_.path() / "nur versteckt" / "geheim.mdb", "db");
        test::WriteBytes(dir_.path() / "nur versteckt" / "system.mdb", "db");
        test::WriteBytes(dir_.path() / L"Grüße ☎.mdb", "db");
        hiddenWorks_ =
            setAttributes(dir_.path() / "nur versteckt" / "geheim.mdb", FILE_ATTRIBUTE_HIDDEN);
        systemWorks_ =
            setAttributes(dir_.path() / "nur versteckt" / "system.mdb", FILE_ATTRIBUTE_SYSTEM);
    }

    static bool setAttributes(const fs::path& path, DWORD attributes) {
        return SetFileAttributesW(path.c_str(), attributes) &&
               (GetFileAttributesW(path.c_str()) & attributes) == attributes;
    }

    std::string pattern(const std::wstring& relative) const {
        return WideToUtf8(dir_.text() + L"\\" + relative);
    }

    std::optional<bool> find(const std::string& text) {
        Result<bool> found = search_.findsOrdinaryFile(text);
        EXPECT_TRUE(found.ok()) << text << ": " << (found.ok() ? "" : found.failure().description);
        return found.ok() ? std::optional<bool>(found.value()) : std::nullopt;
    }

    test::TempDir dir_;
    bool hiddenWorks_ = false;
    bool systemWorks_ = false;
    Win32FileSearch search_;
};

TEST_F(FileSearchTest, FindsOrdinaryFilesOnly) {
    EXPECT_EQ(find(pattern(L"Kunden.mdb")), true);
    EXPECT_EQ(find(pattern(L"kunden.MDB")), true) << "Windows ignores letter case";
    EXPECT_EQ(find(pattern(L"Grüße ☎.mdb")), true);
    EXPECT_EQ(find(pattern(L"Ordner.mdb")), false) << "a directory";
    EXPECT_EQ(find(pattern(L"Fehlt.mdb")), false) << "missing file";
    EXPECT_EQ(find(pattern(L"Fehlt\\Kunden.mdb")), false) << "missing directory";
    EXPECT_EQ(find(""), false);
}

TEST_F(FileSearchTest, HonoursWildcards) {
    EXPECT_EQ(find(pattern(L"*.mdb")), true);
    EXPECT_EQ(find(pattern(L"K?nden.*")), true);
    EXPECT_EQ(find(pattern(L"Ordner*")), false) << "only a directory matches";
    EXPECT_EQ(find(pattern(L"*.accdb")), false);
    EXPECT_EQ(find(pattern(L"nur versteckt\\*.xyz")), false);
}

TEST_F(FileSearchTest, HiddenAndSystemFilesDoNotCount) {
    if (!hiddenWorks_ || !systemWorks_) {
        GTEST_SKIP() << "the file system keeps no DOS attributes here";
    }
    EXPECT_EQ(find(pattern(L"nur versteckt\\geheim.mdb")), false);
    EXPECT_EQ(find(pattern(L"nur versteckt\\system.mdb")), false);
    EXPECT_EQ(find(pattern(L"nur versteckt\\*.mdb")), false) << "matches only hidden and system";
    test::WriteBytes(dir_.path() / "nur versteckt" / "offen.mdb", "db");
    EXPECT_EQ(find(pattern(L"nur versteckt\\*.mdb")), true);
}

TEST_F(FileSearchTest, MalformedNamesFail) {
    // Wildcards are allowed in the last part only.
    for (const std::wstring name : {L"*\\Kunden.mdb", L"nur versteckt\\?\\x.mdb"}) {
        const std::string text = pattern(name);
        SCOPED_TRACE(text);
        Result<bool> found = search_.findsOrdinaryFile(text);
        ASSERT_FALSE(found.ok());
        EXPECT_EQ(found.failure().number, error::kBadFileName);
        EXPECT_NE(found.failure().description.find("Dateiname oder -nummer falsch"),
                  std::string::npos);
    }
    // Windows rejects these names, Wine finds nothing: either way no file.
    for (const std::wstring name : {L"a|b.mdb", L"a\"b.mdb", L"a<b"}) {
        Result<bool> found = search_.findsOrdinaryFile(pattern(name));
        EXPECT_TRUE(!found.ok() ? found.failure().number == error::kBadFileName : !found.value());
    }
    Result<bool> nul = search_.findsOrdinaryFile(pattern(L"Kunden.mdb") + std::string(1, '\0'));
    ASSERT_FALSE(nul.ok());
    EXPECT_EQ(nul.failure(), MakeFailure(error::kBadFileName));
}

TEST(FileSearchErrors, MapToAnswersAndClassicNumbers) {
    for (const DWORD nothing : {ERROR_FILE_NOT_FOUND, ERROR_NO_MORE_FILES, ERROR_PATH_NOT_FOUND,
                                ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME}) {
        Result<bool> result = Win32FileSearch::resultForError(nothing);
        ASSERT_TRUE(result.ok()) << nothing;
        EXPECT_FALSE(result.value()) << nothing;
    }
    const std::pair<DWORD, std::int32_t> failures[] = {
        {ERROR_INVALID_NAME, 52},  {ERROR_BAD_PATHNAME, 52},      {ERROR_DIRECTORY, 52},
        {ERROR_INVALID_DRIVE, 68}, {ERROR_NOT_READY, 71},         {ERROR_ACCESS_DENIED, 70},
        {ERROR_GEN_FAILURE, 75},   {ERROR_SHARING_VIOLATION, 75},
    };
    for (const auto& [code, number] : failures) {
        Result<bool> result = Win32FileSearch::resultForError(code);
        ASSERT_FALSE(result.ok()) << code;
        EXPECT_EQ(result.failure().number, number) << code;
        EXPECT_FALSE(result.failure().description.empty());
    }
    EXPECT_EQ(Win32FileSearch::resultForError(ERROR_NOT_READY).failure().description,
              "Datenträger nicht bereit: Das Gerät ist nicht bereit (Windows-Fehler 21)");
}

}  // namespace
}  // namespace kw::win32
