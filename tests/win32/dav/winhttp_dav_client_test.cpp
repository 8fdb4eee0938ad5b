// The WinHTTP client against Radicale and misbehaving servers, which tests/win32/dav/dav_peers.sh
// runs natively next to Wine.
#include "platform/win32/winhttp_dav_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/wide_text.h"

namespace kw::win32 {
namespace {

using namespace std::chrono_literals;
using platform::DavFault;
using platform::DavLimits;
using platform::DavReply;
using platform::DavRequest;

constexpr char kPropfind[] =
    R"(<?xml version="1.0" encoding="utf-8"?><D:propfind xmlns:D="DAV:"><D:prop>)"
    R"(<D:getetag/></D:prop></D:propfind>)";
constexpr char kMultiget[] =
    R"(<?xml version="1.0" encoding="utf-8"?><C:addressbook-multiget xmlns:D="DAV:" )"
    R"(xmlns:C="urn:ietf:params:xml:ns:carddav"><D:prop><D:getetag/><C:address-data/>)"
    R"(</D:prop><D:href>/kw/buch/anna.vcf</D:href><D:href>/kw/buch/bert.vcf</D:href>)"
    R"(</C:addressbook-multiget>)";

std::filesystem::path PeerFolder() {
    const char* folder = std::getenv("KW_DAV_PEERS");
    return std::filesystem::path(L"Z:" + Utf8ToWide(folder != nullptr ? folder : ""));
}

// The book's address on the server dav_peers.sh calls `peer`.
std::string Address(std::string_view peer) {
    std::ifstream table(PeerFolder() / "peers.txt");
    std::string name;
    std::string port;
    while (table >> name >> port) {
        if (name == peer) {
            // Wine matches the server's name against the certificate's DNS names alone.
            const bool tls = peer == "tls" || peer == "self";
            return (tls ? "https://localhost:" : "http://127.0.0.1:") + port + "/kw/buch/";
        }
    }
    ADD_FAILURE() << "dav_peers.sh started no " << peer;
    return {};
}

DavRequest Propfind(std::string_view peer, std::string password = "geheim") {
    return {"PROPFIND", Address(peer), "1", kPropfind, "kw", std::move(password)};
}

TEST(WinHttpDavClientTest, RadicaleAnswersWhatItIsAsked) {
    struct Case {
        const char* what;
        DavRequest request;
        int status;
        std::vector<std::string> inBody;
    };
    const Case cases[] = {
        {"the cards listed", Propfind("plain"), 207, {"/kw/buch/anna.vcf", "/kw/buch/bert.vcf"}},
        {"the cards fetched, UTF-8 kept",
         {"REPORT", Address("plain"), "1", kMultiget, "kw", "geheim"},
         207,
         {"FN:Anna Äpfel", "FN:Bert Birne"}},
        {"a wrong password", Propfind("plain", "Geheim"), 401, {}},
        {"no user at all", {"PROPFIND", Address("plain"), "1", kPropfind, "", ""}, 401, {}},
    };
    WinHttpDavClient client;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DavReply reply = client.send(c.request, {});
        EXPECT_EQ(reply.fault, DavFault::None) << reply.detail;
        EXPECT_EQ(reply.status, c.status);
        for (const std::string& text : c.inBody) {
            EXPECT_NE(reply.body.find(text), std::string::npos) << text;
        }
    }
}

TEST(WinHttpDavClientTest, HttpsNeedsACertificateTheSystemTrusts) {
    WinHttpDavClient client;  // kw_trust_test_ca has put the CA of "tls" into the root store
    const DavReply trusted = client.send(Propfind("tls"), {});
    EXPECT_EQ(trusted.fault, DavFault::None) << trusted.detail;
    EXPECT_EQ(trusted.status, 207);
    const DavReply selfSigned = client.send(Propfind("self"), {});
    EXPECT_EQ(selfSigned.fault, DavFault::Certificate);
    EXPECT_EQ(selfSigned.body, "");
}

TEST(WinHttpDavClientTest, MisbehavingServersEndWithinTheLimits) {
    struct Case {
        const char* peer;
        DavFault fault;
        std::string inReply;  // in the detail or the body
    };
    const Case cases[] = {
        {"trickle", DavFault::TooSlow, ""},  // a byte a second: only the deadline ends it
        {"silent", DavFault::TooSlow, ""},
        {"slow", DavFault::None, "langsam.vcf</d:href></d:response></d:multistatus>"},
        {"huge", DavFault::TooLarge, ""},
        {"huge-unannounced", DavFault::TooLarge, ""},
        {"redirect", DavFault::OtherHost, "http://localhost:1/kw/buch/"},
        {"redirect-same", DavFault::None,
         "<!-- PROPFIND depth=1 body=" + std::to_string(sizeof kPropfind - 1) + " -->"},
        {"redirect-loop", DavFault::Other, ""},
        {"closed", DavFault::Unreachable, "Windows-Fehler"},
        {"close", DavFault::Unreachable, "Windows-Fehler"},
        {"garbage", DavFault::Unreachable, "Windows-Fehler"},  // WinHTTP's code for "close" too
    };
    const DavLimits tight{1u << 20, 1500ms, 3000ms};
    WinHttpDavClient client;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.peer);
        const DavReply reply = client.send(Propfind(c.peer), tight);
        EXPECT_EQ(reply.fault, c.fault) << reply.detail;
        EXPECT_NE((reply.detail + reply.body).find(c.inReply), std::string::npos)
            << reply.detail << reply.body;
    }
}

TEST(WinHttpDavClientTest, CancelEndsTheSendUnderWayAndEveryLaterOne) {
    const DavLimits patient{1u << 20, 60s, 60s};
    WinHttpDavClient client;
    DavReply reply;
    std::thread sync([&] { reply = client.send(Propfind("silent"), patient); });
    std::this_thread::sleep_for(300ms);  // most often into the wait for the reply
    client.cancel();
    sync.join();
    EXPECT_EQ(reply.fault, DavFault::Cancelled);
    EXPECT_EQ(client.send(Propfind("plain"), patient).fault, DavFault::Cancelled);
}

}  // namespace
}  // namespace kw::win32
