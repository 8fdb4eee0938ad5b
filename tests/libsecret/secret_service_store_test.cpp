#include "platform/libsecret/secret_service_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kw::platform {
namespace {

std::optional<std::string> ReadOk(SecretStore& store, const SecretAccount& account) {
    auto result = store.read(account);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.failure().description);
    return result.ok() ? result.value() : std::nullopt;
}

// Needs an unlocked Secret Service on the session bus.
TEST(SecretServiceStore, RoundTrip) {
    SecretServiceStore store;
    ASSERT_FALSE(store.available());
    const SecretAccount account{"sip.example.net", "4930123"};
    // Accounts differ by server and by user alone; no prefix or substring matches.
    const SecretAccount others[] = {
        {"sip.example.net", "493012"}, {"sip.example.ne", "4930123"}, {"", ""}};
    EXPECT_EQ(ReadOk(store, account), std::nullopt);
    ASSERT_FALSE(store.store(account, "geheim"));
    ASSERT_FALSE(store.store(others[0], "anderes"));
    EXPECT_EQ(ReadOk(store, account), "geheim");
    const char bytes[] = "neu ä\"'; \0x";  // a NUL inside must survive
    const std::string replaced(bytes, sizeof bytes - 1);
    ASSERT_FALSE(store.store(account, replaced));
    EXPECT_EQ(ReadOk(store, account), replaced);
    EXPECT_EQ(ReadOk(store, others[1]), std::nullopt);
    EXPECT_EQ(ReadOk(store, others[2]), std::nullopt);
    EXPECT_FALSE(store.erase(account));
    EXPECT_EQ(ReadOk(store, account), std::nullopt);
    EXPECT_EQ(ReadOk(store, others[0]), "anderes");
    EXPECT_FALSE(store.erase(account));  // nothing left to erase is no failure
}

// Needs the keyring of RoundTrip holding "vom-skript", stored there by secret-tool.
TEST(SecretServiceStore, ScriptedPassword) {
    SecretServiceStore store;
    EXPECT_EQ(ReadOk(store, {"pbx.example", "4711"}), "vom-skript");
    EXPECT_FALSE(store.store({"pbx.example", "4711"}, "vom-programm"));
}

// Needs the keyring of RoundTrip again, locked, with nobody to answer the unlock prompt.
TEST(SecretServiceStore, Locked) {
    SecretServiceStore store;
    EXPECT_FALSE(store.available());
    const MaybeFailure failure = store.store({"sip.example.net", "4930123"}, "geheim");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description,
              "Der Schlüsselbund des Desktops ist gesperrt und wurde nicht entsperrt.");
    auto stored = store.read({"sip.example.net", "493012"});  // left there by RoundTrip
    ASSERT_FALSE(stored.ok());
    EXPECT_EQ(stored.failure(), failure);
}

// Needs a Secret Service that is being started but never answers.
TEST(SecretServiceStore, Late) {
    SecretServiceStore store(std::chrono::milliseconds(300));
    const MaybeFailure failure = store.available();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description,
              "Der Schlüsselbund des Desktops hat nicht rechtzeitig geantwortet.");
}

// Needs a session without a Secret Service, or no session bus at all.
TEST(SecretServiceStore, Unavailable) {
    SecretServiceStore store;
    const SecretAccount account{"sip.example.net", "4930123"};
    const MaybeFailure failure = store.available();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->description,
              "Kein Schlüsselbund des Desktops (Secret Service) ist erreichbar.");
    EXPECT_EQ(store.store(account, "geheim"), failure);
    EXPECT_FALSE(store.read(account).ok());
    EXPECT_TRUE(store.erase(account));
}

}  // namespace
}  // namespace kw::platform
