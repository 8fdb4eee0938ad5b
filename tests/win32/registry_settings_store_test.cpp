#include "platform/win32/registry_settings_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/error_numbers.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include "tests/support/hostile_texts.h"

#include <sddl.h>

namespace kw::win32 {
namespace {

using namespace std::string_literals;

constexpr char kSection[] = "Options";

// The test's own application key in the prefix's real registry, removed before and after.
class RegistrySettingsStoreTest : public ::testing::Test {
  protected:
    RegistrySettingsStoreTest()
        : app_("Klingelwart Test " + std::to_string(GetCurrentProcessId())),
          appKey_(L"Software\\VB and VBA Program Settings\\" + Utf8ToWide(app_)) {
        RegDeleteTreeW(HKEY_CURRENT_USER, appKey_.c_str());
    }
    ~RegistrySettingsStoreTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, appKey_.c_str()); }

    // Writes a value of any type directly, as another program might have.
    void rawWrite(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (appKey_ + L"\\Options").c_str(), 0, nullptr,
                                  0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // The type and bytes the registry holds for a value.
    std::pair<DWORD, std::vector<BYTE>> rawRead(const wchar_t* name) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        RegGetValueW(HKEY_CURRENT_USER, (appKey_ + L"\\Options").c_str(), name,
                     RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size);
        std::vector<BYTE> data(size);
        RegGetValueW(HKEY_CURRENT_USER, (appKey_ + L"\\Options").c_str(), name,
                     RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size);
        data.resize(size);
        return {type, data};
    }

    bool appKeyExists() {
        HKEY key = nullptr;
        const bool exists =
            RegOpenKeyExW(HKEY_CURRENT_USER, appKey_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (exists) {
            RegCloseKey(key);
        }
        return exists;
    }

    std::string app_;
    std::wstring appKey_;
    RegistrySettingsStore store_;
};

TEST_F(RegistrySettingsStoreTest, UsesTheClassicPlaceForProgramSettings) {
    EXPECT_EQ(RegistrySettingsStore::keyPath("Klingelwart", "Options"),
              L"Software\\VB and VBA Program Settings\\Klingelwart\\Options");
}

// The same texts as the Linux settings store's test.
TEST_F(RegistrySettingsStoreTest, EveryTextReadsBackExactly) {
    const std::vector<std::string> texts = test::HostileTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(store_.write(app_, kSection, "K" + std::to_string(i), texts[i]), std::nullopt);
    }
    RegistrySettingsStore fresh;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fresh.read(app_, kSection, "K" + std::to_string(i)), texts[i]);
    }
}

TEST_F(RegistrySettingsStoreTest, StoresOneTerminatedRegSzPerKey) {
    ASSERT_EQ(store_.write(app_, kSection, "Shell", "ä b"), std::nullopt);
    const auto [type, data] = rawRead(L"Shell");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    const std::vector<BYTE> expected = {0xE4, 0, ' ', 0, 'b', 0, 0, 0};
    EXPECT_EQ(data, expected);
}

TEST_F(RegistrySettingsStoreTest, ReplacesAValueOfAnyType) {
    const std::uint32_t number = 7;
    rawWrite(L"Start", REG_DWORD, &number, sizeof(number));
    ASSERT_EQ(store_.write(app_, kSection, "Start", "2"), std::nullopt);
    EXPECT_EQ(rawRead(L"Start").first, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(store_.read(app_, kSection, "Start"), "2");
    ASSERT_EQ(store_.write(app_, kSection, "Start", "3"), std::nullopt);
    EXPECT_EQ(store_.read(app_, kSection, "Start"), "3");
}

TEST_F(RegistrySettingsStoreTest, ReadsNumbersAsDecimalText) {
    const std::uint32_t dwords[] = {0, 1, 2, 4294967295u};
    for (std::size_t i = 0; i < std::size(dwords); ++i) {
        const std::wstring name = L"D" + std::to_wstring(i);
        rawWrite(name.c_str(), REG_DWORD, &dwords[i], sizeof(dwords[i]));
        EXPECT_EQ(store_.read(app_, kSection, WideToUtf8(name)), std::to_string(dwords[i]));
    }
    const std::uint64_t qwords[] = {0, 3, 18446744073709551615u};
    for (std::size_t i = 0; i < std::size(qwords); ++i) {
        const std::wstring name = L"Q" + std::to_wstring(i);
        rawWrite(name.c_str(), REG_QWORD, &qwords[i], sizeof(qwords[i]));
        EXPECT_EQ(store_.read(app_, kSection, WideToUtf8(name)), std::to_string(qwords[i]));
    }
}

TEST_F(RegistrySettingsStoreTest, ReadsTextsOfOtherProgramsSafely) {
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    rawWrite(L"Unterminated", REG_SZ, unterminated, sizeof(unterminated));
    EXPECT_EQ(store_.read(app_, kSection, "Unterminated"), "abc");

    const BYTE odd[] = {'a', 0, 'b', 0, 'c'};  // half a character at the end
    rawWrite(L"Odd", REG_SZ, odd, sizeof(odd));
    EXPECT_EQ(store_.read(app_, kSection, "Odd"), "ab");

    rawWrite(L"Nothing", REG_SZ, nullptr, 0);
    EXPECT_EQ(store_.read(app_, kSection, "Nothing"), "");

    const wchar_t expand[] = L"%PATH%;%SystemRoot%";
    rawWrite(L"Expand", REG_EXPAND_SZ, expand, sizeof(expand));
    EXPECT_EQ(store_.read(app_, kSection, "Expand"), "%PATH%;%SystemRoot%");

    const wchar_t twoNuls[] = L"x\0";  // "x", NUL, NUL: only the terminator is dropped
    rawWrite(L"TwoNuls", REG_SZ, twoNuls, sizeof(twoNuls));
    EXPECT_EQ(store_.read(app_, kSection, "TwoNuls"), "x\0"s);

    const wchar_t lone[] = {L'a', 0xD800, 0};
    rawWrite(L"Lone", REG_SZ, lone, sizeof(lone));
    EXPECT_EQ(store_.read(app_, kSection, "Lone"), "a\xef\xbf\xbd");
}

TEST_F(RegistrySettingsStoreTest, ReadsOtherTypesAsEmpty) {
    const BYTE binary[] = {'1', 0, 0, 0};
    rawWrite(L"Binary", REG_BINARY, binary, sizeof(binary));
    const wchar_t multi[] = L"a\0b\0";
    rawWrite(L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    rawWrite(L"None", REG_NONE, binary, sizeof(binary));
    const BYTE shortDword[] = {1, 0};
    rawWrite(L"ShortDword", REG_DWORD, shortDword, sizeof(shortDword));
    const std::uint32_t bigEndian = 1;
    rawWrite(L"BigEndian", REG_DWORD_BIG_ENDIAN, &bigEndian, sizeof(bigEndian));
    for (const char* key : {"Binary", "Multi", "None", "ShortDword", "BigEndian"}) {
        EXPECT_EQ(store_.read(app_, kSection, key), "") << key;
    }
}

TEST_F(RegistrySettingsStoreTest, MissingApplicationSectionOrKeyReadsEmptyAndCreatesNothing) {
    EXPECT_EQ(store_.read(app_, kSection, "DoJob"), "");
    EXPECT_FALSE(appKeyExists());
    ASSERT_EQ(store_.write(app_, "Other", "DoJob", "1"), std::nullopt);
    EXPECT_EQ(store_.read(app_, kSection, "DoJob"), "");
    EXPECT_EQ(store_.read(app_, "Other", "Start"), "");
    EXPECT_EQ(store_.read(app_, "Other", "dojob"), "1") << "the registry ignores letter case";
}

TEST_F(RegistrySettingsStoreTest, NamesThatWouldAddressAnotherPlaceAreRefused) {
    const std::string bad[][3] = {
        {"", kSection, "K"},         {app_, "", "K"},
        {app_, kSection, ""},        {app_ + "\\Sub", kSection, "K"},
        {app_, "Options\\Sub", "K"}, {app_ + "\0x"s, kSection, "K"},
        {app_, kSection, "K\0x"s},
    };
    for (const auto& address : bad) {
        SCOPED_TRACE(address[0] + "/" + address[1] + "/" + address[2]);
        EXPECT_EQ(store_.write(address[0], address[1], address[2], "v"),
                  MakeFailure(error::kInvalidCall));
        EXPECT_EQ(store_.read(address[0], address[1], address[2]), "");
    }
    EXPECT_FALSE(appKeyExists());
    // In a value name a backslash is an ordinary character.
    ASSERT_EQ(store_.write(app_, kSection, "a\\b", "v"), std::nullopt);
    EXPECT_EQ(store_.read(app_, kSection, "a\\b"), "v");
}

TEST_F(RegistrySettingsStoreTest, OtherRegistryErrorsFailWithAGermanDescription) {
    // A volatile application key cannot hold the lasting section key the store creates.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, appKey_.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_READ, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    const MaybeFailure failure = store_.write(app_, kSection, "DoJob", "1");
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure,
              (Failure{error::kPathFileAccess,
                       "Fehler beim Zugriff auf Pfad/Datei: Es kann kein stabiler Unterschlüssel "
                       "unter einem flüchtigen übergeordneten Schlüssel erstellt werden "
                       "(Windows-Fehler 1021)"}));
    EXPECT_EQ(store_.read(app_, kSection, "DoJob"), "");
}

TEST_F(RegistrySettingsStoreTest, AValueRefusedMidwayPutsTheEarlierOnesBack) {
    ASSERT_EQ(store_.write(app_, kSection, "DoJob", "1"), std::nullopt);
    const DWORD start = 3;
    rawWrite(L"Start", REG_DWORD, &start, sizeof start);
    const auto startBefore = rawRead(L"Start");
    // Longer than any value name the registry takes.
    const std::string tooLong(16384, 'k');
    const platform::SettingsValue batch[] = {
        {"DoJob", "0"}, {"Shell", "neu"}, {"Start", "2"}, {tooLong, "x"}, {"Parameter", "1"}};
    EXPECT_TRUE(store_.writeAll(app_, kSection, batch));
    EXPECT_EQ(store_.read(app_, kSection, "DoJob"), "1");
    EXPECT_EQ(rawRead(L"Start"), startBefore);
    EXPECT_EQ(rawRead(L"Shell").first, static_cast<DWORD>(REG_NONE)) << "absent again";
    EXPECT_EQ(store_.read(app_, kSection, "Parameter"), "");
}

TEST_F(RegistrySettingsStoreTest, AWriteThatTheRegistryRefusesFailsWithAccessDenied) {
    // A section key that nobody may write to, not even its owner.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (appKey_ + L"\\Options").c_str(), 0, nullptr, 0,
                              KEY_READ, &attributes, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    LocalFree(descriptor);

    HKEY probe = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, (appKey_ + L"\\Options").c_str(), 0,
                                         KEY_SET_VALUE, &probe);
    if (status == ERROR_SUCCESS) {
        RegCloseKey(probe);
    } else {
        EXPECT_EQ(store_.write(app_, kSection, "DoJob", "1"), MakeFailure(error::kAccessDenied));
        EXPECT_EQ(store_.read(app_, kSection, "DoJob"), "");
    }

    // The owner may always change the permissions back, so the key can be removed.
    HKEY owned = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_CURRENT_USER, (appKey_ + L"\\Options").c_str(), 0, WRITE_DAC, &owned),
        ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR open = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;;KA;;;WD)", SDDL_REVISION_1, &open, nullptr));
    EXPECT_EQ(RegSetKeySecurity(owned, DACL_SECURITY_INFORMATION, open), ERROR_SUCCESS);
    LocalFree(open);
    RegCloseKey(owned);
    if (status == ERROR_SUCCESS) {
        GTEST_SKIP() << "this registry does not enforce key security";
    }
}

}  // namespace
}  // namespace kw::win32
