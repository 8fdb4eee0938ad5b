#include "platform/win32/credential_store.h"

#include <gtest/gtest.h>

namespace kw::win32 {
namespace {

using platform::SecretAccount;

std::optional<std::string> Stored(CredentialStore& store, const SecretAccount& account) {
    auto read = store.read(account);
    EXPECT_TRUE(read.ok());
    return read.ok() ? read.value() : std::nullopt;
}

// Accounts that differ only in one part must not share a password; the texts survive the round
// trip byte for byte, the empty password too.
TEST(CredentialStore, EachAccountKeepsItsOwnPasswordUntilErased) {
    CredentialStore store;
    ASSERT_FALSE(store.available());
    const struct {
        SecretAccount account;
        std::string password;
    } cases[] = {
        {{"https://dav.example.net/a/", "anna"}, "geheim"},
        {{"https://dav.example.net/a/", "anna2"}, "Grüße – ü€"},
        {{"https://dav.example.net/b/", "anna"}, std::string("nul\0mitten", 10)},
        {{"http://[::1]:5232/", "Jörg@home"}, ""},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(store.store(c.account, "alt"));
        ASSERT_FALSE(store.store(c.account, c.password));
    }
    for (const auto& c : cases) {
        EXPECT_EQ(Stored(store, c.account), c.password) << c.account.user;
    }
    for (const auto& c : cases) {
        EXPECT_FALSE(store.erase(c.account));
        EXPECT_EQ(Stored(store, c.account), std::nullopt) << c.account.user;
        EXPECT_FALSE(store.erase(c.account));  // already gone: no failure
    }
}

}  // namespace
}  // namespace kw::win32
