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

const std::string kListing =
    "<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/b/1.vcf</d:href><d:propstat><d:prop>"
    "<d:getetag>\"1\"</d:getetag></d:prop></d:propstat></d:response></d:multistatus>";
const std::string kCards =
    "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:response>"
    "<d:href>/b/1.vcf</d:href><d:propstat><d:prop><d:getetag>\"1\"</d:getetag><c:address-data>"
    "BEGIN:VCARD\r\nFN:Anna\r\nTEL:030 1\r\nEND:VCARD\r\n</c:address-data></d:prop></d:propstat>"
    "</d:response></d:multistatus>";

// The CardDAV book from the first failed sync to the first good one, as the dialog and the
// tooltip tell it.
TEST(AddressBooks, TheCardDavBookBeforeAndAfterItsFirstCopy) {
    const fs::path dir = fs::temp_directory_path() / "kw-address-books-test";
    fs::remove_all(dir);
    test::PostedTasks queue;
    test::FakeSecretStore secrets;
    secrets.passwords[{"http://dav/b/", "anna"}] = "pw";
    std::vector<std::string> problems;
    NameLookup names;
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
        [&](const NameLookup& now) { names = now; }};
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

        client->add({DavFault::None, 207, kListing, {}});
        client->add({DavFault::None, 207, kCards, {}});
        books.load({.CardDAV = "http://dav/b/", .CardDAVBenutzer = "anna"});
        for (int i = 0; i < 50 && (!names || !names("0301")); ++i) {
            queue.runOne(100ms);
        }
        ASSERT_TRUE(names);
        EXPECT_EQ(names("0301"), "Anna");
        EXPECT_EQ(books.statusLines(), std::vector<std::string>{"CardDAV: 1 Nummer"});
        EXPECT_TRUE(problems.empty());
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace kw::ui
