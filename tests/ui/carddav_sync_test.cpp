#include "ui/carddav_sync.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/posted_tasks.h"
#include "tests/support/scripted_dav_client.h"

namespace kw::ui {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::DavFault;
using platform::DavReply;

const CardDavBook kBook{"http://127.0.0.1:1/u/b/", "anna", "pw"};
const std::string kCards =
    "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:response>"
    "<d:href>/u/b/1.vcf</d:href><d:propstat><d:prop><d:getetag>\"1\"</d:getetag><c:address-data>"
    "BEGIN:VCARD\r\nFN:A\r\nTEL:1\r\nEND:VCARD\r\n</c:address-data></d:prop></d:propstat>"
    "</d:response></d:multistatus>";
const std::string kListing =
    "<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/u/b/1.vcf</d:href><d:propstat>"
    "<d:prop><d:getetag>\"1\"</d:getetag></d:prop></d:propstat></d:response></d:multistatus>";

template <class Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 500 && !condition(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

struct Rig {
    Rig() { fs::create_directories(dir); }
    ~Rig() {
        sync.reset();
        fs::remove_all(dir);
    }

    std::string synced() {
        EXPECT_TRUE(queue.runOne());
        return problems.empty() ? "(nichts)" : problems.back();
    }
    std::string copy() const {
        std::ifstream in(sync->cacheFile(kBook.url, kBook.user), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir = fs::temp_directory_path() /
                   (std::string("kw-carddav-") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    test::PostedTasks queue;
    test::ScriptedDavClient* client = nullptr;  // owned by the sync once made
    std::deque<DavReply> replies;
    std::vector<std::string> problems;
    std::unique_ptr<CardDavSync> sync = std::make_unique<CardDavSync>(
        [this] {
            auto made = std::make_unique<test::ScriptedDavClient>(replies);
            client = made.get();
            return made;
        },
        dir.string(), [this](std::function<void()> task) { queue.post(std::move(task)); },
        [this](const std::string& problem) { problems.push_back(problem); },
        CardDavSync::Timing{50ms, {}});
};

TEST(CardDavSync, KeepsTheCopyThroughFailuresAndSyncsAgainOnItsOwn) {
    Rig rig;
    rig.replies = {{DavFault::None, 207, kListing, {}},
                   {DavFault::None, 207, kCards, {}},
                   {DavFault::None, 401, "", {}},
                   {DavFault::None, 207, kListing, {}}};
    rig.sync->sync(kBook);
    EXPECT_EQ(rig.synced(), "");
    EXPECT_EQ(rig.copy(), kCards);
    EXPECT_EQ(rig.synced(), "Benutzername oder Passwort falsch");  // 50 ms later, by itself
    EXPECT_EQ(rig.copy(), kCards);
    EXPECT_EQ(rig.synced(), "");  // unchanged: nothing fetched
    EXPECT_EQ(rig.copy(), kCards);
}

TEST(CardDavSync, AnotherAccountOrNoneRemovesTheOldCopy) {
    Rig rig;
    rig.replies = {{DavFault::None, 207, kListing, {}}, {DavFault::None, 207, kCards, {}}};
    rig.sync->sync(kBook);
    EXPECT_EQ(rig.synced(), "");
    const fs::path copy = fs::u8path(rig.sync->cacheFile(kBook.url, kBook.user));
    ASSERT_TRUE(fs::exists(copy));
    fs::create_directories(rig.dir / "fremd");  // not ours: stays
    rig.sync->sync(std::nullopt);
    EXPECT_TRUE(Eventually([&] { return !fs::exists(copy); }));
    EXPECT_TRUE(fs::exists(rig.dir / "fremd"));
}

// Ending the program must not wait for a server that never answers.
TEST(CardDavSync, GoesAtOnceWhileAServerKeepsItWaiting) {
    Rig rig;
    rig.sync->sync(kBook);
    ASSERT_TRUE(Eventually([&] { return rig.client != nullptr; }));
    const auto start = std::chrono::steady_clock::now();
    rig.sync.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    while (rig.queue.runOne(100ms)) {
    }
    EXPECT_TRUE(rig.problems.empty());
}

}  // namespace
}  // namespace kw::ui
