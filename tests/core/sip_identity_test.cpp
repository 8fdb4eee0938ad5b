#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/sip_identity.h"
#include "core/sip_status.h"

namespace kw {
namespace {

using namespace std::string_literals;

TEST(SipIdentity, CallerRules) {
    const struct {
        std::optional<SipAddress> asserted;
        SipAddress from;
        bool privacy;
        std::string caller;
    } cases[] = {
        {{}, {"0301234", "pbx"}, false, "0301234"},
        {SipAddress{"0307777", "pbx"}, {"999", "pbx"}, false, "0307777"},
        {SipAddress{"", "pbx"}, {"999", "pbx"}, false, "999"},  // an identity without a number
        {SipAddress{"anonymous", "pbx"}, {"0301234", "pbx"}, false, ""},
        {{}, {"0301234", "pbx"}, true, ""},
        {{}, {"Anonymous", "x"}, false, ""},
        {{}, {"%61nonymous", "x"}, false, ""},
        {{}, {"RESTRICTED", "x"}, false, ""},
        {{}, {"0301234", "ANONYMOUS.invalid"}, false, ""},
        {{}, {"anonymous1", "x"}, false, "anonymous1"},
        {{}, {"%2B49%2030", "x"}, false, "+49 30"},
        {{},
         {"1%002", "x"},
         false,
         "1\0"s
         "2"},
        {{}, {"%FF%fe", "x"}, false, "\xFF\xFE"},
        {{}, {"50%", "x"}, false, "50%"},  // broken escapes stay as they came
        {{}, {"%4", "x"}, false, "%4"},
        {{}, {"%G1%%41", "x"}, false, "%G1%A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SipCaller(c.asserted, c.from, c.privacy), c.caller) << c.from.user;
    }
}

TEST(SipIdentity, CalledFallsBackToTheRequestUri) {
    EXPECT_EQ(SipCalled({"4711", "pbx"}, {"x", "h"}), "4711");
    EXPECT_EQ(SipCalled({"", "pbx"}, {"%34711", "h"}), "4711");
}

TEST(SipIdentity, EscapedUserDecodesBack) {
    const struct {
        std::string user;
        std::string escaped;
    } cases[] = {
        {"4711", "4711"},
        {"+49 30", "+49%2030"},
        {"a@b:c", "a%40b%3Ac"},
        {"%41", "%2541"},
        {"\xE4\xC4\xDF", "%E4%C4%DF"},  // letters in Latin-1, not in SIP
        {"\xC3\xA4", "%C3%A4"},
        {"1\0"s
         "2\r\n",
         "1%002%0D%0A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeSipUser(c.user), c.escaped);
        EXPECT_EQ(DecodeSipUser(EscapeSipUser(c.user)), c.user);
    }
}

TEST(SipStatus, Texts) {
    const SipAccount account{"pbx.example", "4711", {}, SipTransport::Udp};
    EXPECT_EQ(SipRegistered(account), "SIP 4711@pbx.example: angemeldet");
    EXPECT_EQ(SipRejected(account, 403), "SIP 4711@pbx.example: Anmeldung abgelehnt (403)");
    EXPECT_EQ(SipUnreachable(account, std::chrono::milliseconds(29001)),
              "SIP 4711@pbx.example: nicht erreichbar, neuer Versuch in 30 s");
    EXPECT_EQ(SipIncomplete(), "SIP: Benutzer oder Server fehlt");
}

}  // namespace
}  // namespace kw
