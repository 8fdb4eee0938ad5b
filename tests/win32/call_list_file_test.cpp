#include <gtest/gtest.h>

// clang-format off
#include "platform/win32/windows_api.h"
#include <aclapi.h>
// clang-format on

#include <filesystem>

#include "core/call_log.h"
#include "platform/win32/ring_pipe.h"
#include "platform/win32/win32_call_list_file.h"

namespace kw::win32 {
namespace {

// No entry in the DACL for anyone but this user (and the system, which Wine always shows).
bool OnlyForTheUser(const std::wstring& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    Result<UserSid> user = UserSid::OfThisProcess();
    bool only = dacl != nullptr && dacl->AceCount > 0 && user.ok();
    for (DWORD i = 0; only && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        only = GetAce(dacl, i, reinterpret_cast<void**>(&ace)) &&
               (EqualSid(&ace->SidStart, user.value().get()) ||
                IsWellKnownSid(&ace->SidStart, WinLocalSystemSid));
    }
    LocalFree(descriptor);
    return only;
}

TEST(Win32CallListFile, PrivateFileSurvivesRewriteAndReopening) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / L"kw_call_list_test";
    std::filesystem::remove_all(directory);
    {
        Win32CallListFile file(directory.wstring());
        CallLog log(file);
        EXPECT_EQ(log.load(), "");
        const CallEntry entry{7,
                              1765115101,
                              "030 1234",
                              "4711",
                              "Müller",
                              CallSourceKind::PhoneControl,
                              CallOutcome::Unknown};
        EXPECT_EQ(log.add(entry), "");
        EXPECT_TRUE(OnlyForTheUser(directory.wstring()));
        EXPECT_TRUE(OnlyForTheUser(file.path()));
        EXPECT_EQ(log.clear(), "");  // replaces the open file
        EXPECT_EQ(log.add(entry), "");
        Win32CallListFile reopened(directory.wstring());
        CallLog again(reopened);
        EXPECT_EQ(again.load(), "");
        ASSERT_EQ(again.entries().size(), 1U);
        EXPECT_EQ(again.entries().front(), entry);
    }
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace kw::win32
