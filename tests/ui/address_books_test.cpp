#include "ui/address_books.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/book_file.h"
#include "core/book_files.h"
#include "tests/support/fake_secret_store.h"
#include "tests/support/posted_tasks.h"
#include "tests/support/scripted_dav_client.h"

namespace kw::ui {
namespace {

namespace fs = std::filesystem;
using platform::DavFault;
using namespace std::chrono_literals;

// Before its first copy the CardDAV book is not yet a fault; its failed sync is, without the
// promise of a copy.
TEST(AddressBooks, TheCardDavBookBeforeAndAfterItsFirstCopy) {
    const fs::path dir = fs::temp_directory_path() / "kw-address-books-test";
    fs::remove_all(dir);
    test::PostedTasks queue;
    test::FakeSecretStore secrets;
    secrets.passwords[{"http://dav/b/", "anna"}] = "pw";
    std::vector<std::string> problems;
    test::ScriptedDavClient* client = nullptr;
    AddressBooksPlatform platform{
        [](const std::string& path) { return ReadBookFromDisk(path, ReadBookFile); },
        [](const std::vector<BookReading>& readings, const PhoneBookOptions&) -> NameLookup {
            return [entries = readings.back().entries](std::string_view) {
                return entries.empty() ? std::nullopt : std::optional(entries[0].name);
            };
        },
        [&](std::function<void()> task) { queue.post(std::move(task)); },
        [&] {
            auto made = std::make_unique<test::ScriptedDavClient>(
                std::deque<platform::DavReply>{{DavFault::None, 401, "", {}}});
            client = made.get();
            return made;
        },
        dir.string(),
        &secrets,
        [&](const std::vector<std::string>& now) { problems = now; },
        [](const NameLookup&) {}};
    {
        AddressBooks books(platform);
        books.load({.CardDAV = "http://dav/b/", .CardDAVBenutzer = "anna"});
        while (queue.runOne(300ms)) {
        }
        ASSERT_NE(client, nullptr);
        EXPECT_EQ(client->requests.at(0).password, "pw");
        EXPECT_EQ(books.statusLines(),
                  (std::vector<std::string>{
                      "CardDAV: noch nicht abgeglichen",
                      "CardDAV-Abgleich fehlgeschlagen: Benutzername oder Passwort falsch"}));
        EXPECT_EQ(problems, std::vector<std::string>{
                                "Telefonbuch CardDAV: Benutzername oder Passwort falsch"});
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kw::ui
