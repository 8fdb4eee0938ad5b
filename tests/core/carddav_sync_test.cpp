#include "core/carddav_sync.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_dav_client.h"

namespace kw {
namespace {

using platform::DavFault;
using platform::DavReply;

const CardDavBook kBook{"https://dav.example/u/book/", "anna", "geheim"};

std::string Listing(std::initializer_list<std::pair<const char*, const char*>> cards) {
    std::string xml =
        "<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/u/book/</d:href>"
        "</d:response>";
    for (const auto& [href, etag] : cards) {
        xml += std::string("<d:response><d:href>") + href + "</d:href><d:propstat><d:prop>" +
               (*etag != '\0' ? std::string("<d:getetag>") + etag + "</d:getetag>" : "") +
               "</d:prop></d:propstat></d:response>";
    }
    return xml + "</d:multistatus>";
}

// A fetch of one card under /u/book/1.vcf with its etag.
std::string Fetched(const char* etag, const char* number) {
    return std::string(
               "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\">"
               "<d:response><d:href>/u/book/1.vcf</d:href><d:propstat><d:prop>"
               "<d:getetag>") +
           etag +
           "</d:getetag><c:address-data>BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nTEL:" + number +
           "\r\nEND:VCARD\r\n</c:address-data></d:prop></d:propstat></d:response>"
           "</d:multistatus>";
}

DavReply Ok(std::string body) {
    return {DavFault::None, 207, std::move(body), {}};
}

struct SyncCase {
    const char* what;
    std::string cached;
    std::deque<DavReply> replies;
    std::size_t requests;  // how many the sync made
    bool replacesCache;    // the outcome carries new cards
    std::string problem;   // exactly, or the start of it when it ends in "…"
};

TEST(SyncCardDav, FetchesOnlyWhatChangedAndKeepsTheCacheOnEveryFault) {
    const std::string cached = Fetched("\"e1\"", "0301");
    const std::vector<SyncCase> cases = {
        {"first sync", "", {Ok(Listing({{"/u/book/1.vcf", "\"e1\""}})), Ok(cached)}, 2, true, ""},
        {"unchanged", cached, {Ok(Listing({{"/u/book/1.vcf", "\"e1\""}}))}, 1, false, ""},
        {"changed etag",
         cached,
         {Ok(Listing({{"/u/book/1.vcf", "\"e2\""}})), Ok(Fetched("\"e2\"", "0302"))},
         2,
         true,
         ""},
        {"no etag: always fetched",
         cached,
         {Ok(Listing({{"/u/book/1.vcf", ""}})), Ok(cached)},
         2,
         true,
         ""},
        {"empty book", cached, {Ok(Listing({}))}, 1, true, ""},
        {"wrong password",
         cached,
         {{DavFault::None, 401, "", {}}},
         1,
         false,
         "Benutzername oder Passwort falsch"},
        {"not a book",
         cached,
         {{DavFault::None, 200, "<html/>", {}}},
         1,
         false,
         "Server antwortet mit HTTP 200 statt einem Adressbuch"},
        {"gone", cached, {{DavFault::None, 404, "", {}}}, 1, false, "Adressbuch nicht gefunden"},
        {"certificate",
         cached,
         {{DavFault::Certificate, 0, "", "self-signed"}},
         1,
         false,
         "Zertifikat des Servers nicht vertrauenswürdig (self-signed)"},
        {"slow", cached, {{DavFault::TooSlow, 0, "", {}}}, 1, false, "Server antwortet zu langsam"},
        {"huge",
         "",
         {Ok(Listing({{"/u/book/1.vcf", "\"e1\""}})), {DavFault::TooLarge, 0, "", {}}},
         2,
         false,
         "Antwort des Servers zu groß"},
        {"elsewhere",
         cached,
         {{DavFault::OtherHost, 0, "", "http://evil.example/"}},
         1,
         false,
         "Umleitung auf einen anderen Server abgelehnt (http://evil.example/)"},
        {"garbage listing",
         cached,
         {Ok("\x01\x02<<")},
         1,
         false,
         "Liste des Adressbuchs unlesbar: …"},
        {"garbage cards",
         "",
         {Ok(Listing({{"/u/book/1.vcf", "\"e1\""}})), Ok("<d:multistatus")},
         2,
         false,
         "Kontakte unlesbar: …"},
    };
    for (const SyncCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScriptedDavClient client(c.replies);
        const CardDavOutcome outcome = SyncCardDav(client, kBook, c.cached);
        EXPECT_EQ(client.requests.size(), c.requests);
        EXPECT_EQ(outcome.cards.has_value(), c.replacesCache);
        if (c.problem.ends_with("…")) {
            EXPECT_TRUE(outcome.problem.starts_with(c.problem.substr(0, c.problem.size() - 3)))
                << outcome.problem;
        } else {
            EXPECT_EQ(outcome.problem, c.problem);
        }
        if (outcome.cards) {
            EXPECT_TRUE(ReadCardDavResponse(*outcome.cards).error.empty());
        }
    }
}

TEST(SyncCardDav, AsksForTheListedCardsWithTheAccount) {
    test::ScriptedDavClient client(
        {Ok(Listing({{"/u/book/a&amp;b.vcf", "\"1\""}, {"/u/book/sub/", "\"2\""}})),
         Ok(Fetched("\"1\"", "1"))});
    SyncCardDav(client, kBook, "");
    ASSERT_EQ(client.requests.size(), 2u);
    const platform::DavRequest& list = client.requests[0];
    const platform::DavRequest& fetch = client.requests[1];
    EXPECT_EQ(list.method, "PROPFIND");
    EXPECT_EQ(fetch.method, "REPORT");
    for (const platform::DavRequest& request : client.requests) {
        EXPECT_EQ(request.url, kBook.url);
        EXPECT_EQ(request.depth, "1");
        EXPECT_EQ(request.user, "anna");
        EXPECT_EQ(request.password, "geheim");
    }
    EXPECT_NE(fetch.body.find("<d:href>/u/book/a&amp;b.vcf</d:href>"), std::string::npos);
    EXPECT_EQ(fetch.body.find("/u/book/sub/"), std::string::npos);
}

// What a server puts into a reason reaches the tooltip: it must not pose as anything else.
TEST(SyncCardDav, AServersWordsInAReasonAreInertAndShort) {
    test::ScriptedDavClient client(
        {{DavFault::Unreachable, 0, "", "<b>x</b>\n\x1b[2J" + std::string(500, 'a')}});
    const std::string problem = SyncCardDav(client, kBook, "").problem;
    EXPECT_EQ(problem.find('\n'), std::string::npos);
    EXPECT_EQ(problem.find('\x1b'), std::string::npos);
    EXPECT_LT(problem.size(), 200u);
}

}  // namespace
}  // namespace kw
