#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/call_reports.h"
#include "core/call_tracker.h"
#include "core/sip_reason.h"

namespace kw {
namespace {

using namespace std::chrono_literals;
constexpr auto R = CallSourceKind::RouterMonitor;
constexpr auto S = CallSourceKind::Sip;
constexpr auto K = CallSourceKind::RingTool;

// One report: at second `at`, `what` is 'r'ing, 'a'nswered, 'e'nded, 'f'orget, 'c'ancel (SIP,
// `caller` holding the Reason), 'm'onitor line (`caller` holding it).
struct Report {
    int at;
    char what;
    CallSourceKind source = R;
    std::string id = "0";
    std::string caller = "030 1234";
    std::string called = "4711";
};

// "caller=outcome" per call in ring order, each outcome once, after a tick long after the last.
std::string Play(const std::vector<Report>& reports, CallTrackerLimits limits = {}) {
    std::vector<std::pair<std::uint64_t, std::string>> calls;
    std::string out;
    CallTracker tracker(
        [&](const CallRing& ring) { calls.emplace_back(ring.key, std::string(ring.caller)); },
        [&](std::uint64_t key, CallOutcome outcome) {
            for (const auto& [known, caller] : calls) {
                if (known == key) {
                    out += caller + "=" + std::string(OutcomeWord(outcome)) + " ";
                }
            }
        },
        limits);
    const CallTime start{std::chrono::hours(500000)};
    for (const Report& r : reports) {
        const CallTime now = start + std::chrono::seconds(r.at);
        switch (r.what) {
            case 'r':
                tracker.ringing(r.source, r.id, r.caller, r.called, now);
                break;
            case 'a':
                tracker.answered(r.source, r.id, now);
                break;
            case 'e':
                tracker.ended(r.source, r.id, now);
                break;
            case 'f':
                tracker.forget(r.source, r.id, now);
                break;
            case 'c':
                ReportSipCancel(tracker, r.id, r.caller, now);
                break;
            case 'm':
                ReportMonitorLine(tracker, r.caller, now);
                break;
        }
    }
    if (tracker.openCalls() > limits.maxOpenCalls) {
        return "too many open";
    }
    tracker.tick(start + 100h);
    return out + "rings=" + std::to_string(calls.size());
}

TEST(CallTracker, OutcomesPerSourceAndJoining) {
    const struct {
        const char* name;
        std::vector<Report> reports;
        std::string result;
    } cases[] = {
        {"router answered", {{0, 'r'}, {3, 'a'}, {60, 'e'}}, "030 1234=answered rings=1"},
        {"router missed", {{0, 'r'}, {9, 'e'}}, "030 1234=missed rings=1"},
        {"router lines",
         {{0, 'm', R, "", "d;RING;2;030 1234;4711;SIP0;"},
          {1, 'm', R, "", "d;CONNECT;2;11;030 1234;"},
          {9, 'm', R, "", "d;DISCONNECT;2;8;"}},
         "030 1234=answered rings=1"},
        {"reused id: lost end is unknown, not missed",
         {{0, 'r', R, "0", "A"}, {50, 'r', R, "0", "B"}, {55, 'e', R, "0"}},
         "A=unknown B=missed rings=2"},
        {"outgoing call on an open id",
         {{0, 'r', R, "0", "A"},
          {30, 'm', R, "", "d;CALL;0;11;4711;0301234;SIP0;"},
          {31, 'm', R, "", "d;CONNECT;0;11;0301234;"},
          {90, 'e'}},
         "A=unknown rings=1"},
        {"reports for unknown calls", {{0, 'a'}, {1, 'e'}, {2, 'f', S}}, "rings=0"},
        {"sip answered elsewhere",
         {{0, 'r', S, "x@h"},
          {4, 'c', S, "x@h", "SIP ;cause=200;text=\"Call completed elsewhere\""}},
         "030 1234=answered rings=1"},
        {"sip cancel other reason",
         {{0, 'r', S, "x@h"}, {4, 'c', S, "x@h", "Q.850;cause=16"}},
         "030 1234=missed rings=1"},
        {"sip resent invite is the same call",
         {{0, 'r', S, "x"}, {1, 'r', S, "x"}, {5, 'e', S, "x"}},
         "030 1234=missed rings=1"},
        {"ring tool alone", {{0, 'r', K, ""}}, "030 1234=unknown rings=1"},
        {"router and sip, the number written two ways: answered wins",
         {{0, 'r', R, "0", "+49 30 1234"},
          {2, 'r', S, "y", "0301234"},
          {5, 'e', R},
          {6, 'c', S, "y", "SIP;cause=200"}},
         "+49 30 1234=answered rings=1"},
        {"ring tool first, router joins and knows more",
         {{0, 'r', K, ""}, {3, 'r', R}, {20, 'e', R}},
         "030 1234=missed rings=1"},
        {"router ends, sip joins late within the window",
         {{0, 'r', R}, {1, 'e', R}, {9, 'r', S, "y"}, {12, 'c', S, "y", "SIP;cause=200"}},
         "030 1234=answered rings=1"},
        {"more than the window apart: two calls",
         {{0, 'r', R}, {11, 'r', S, "y"}},
         "030 1234=unknown 030 1234=unknown rings=2"},
        {"other caller: two calls",
         {{0, 'r', R, "0", "A 1"}, {1, 'r', S, "y", "B 2"}},
         "A 1=unknown B 2=unknown rings=2"},
        {"other line: two calls",
         {{0, 'r', R}, {1, 'r', S, "y", "030 1234", "4712"}},
         "030 1234=unknown 030 1234=unknown rings=2"},
        {"two rings of one kind are two calls",
         {{0, 'r', K, ""}, {1, 'r', K, ""}},
         "030 1234=unknown 030 1234=unknown rings=2"},
        {"a third source joins once",
         {{0, 'r', R},
          {1, 'r', S, "y"},
          {2, 'r', K, ""},
          {3, 'a', R},
          {4, 'e', R},
          {5, 'e', S, "y"}},
         "030 1234=answered rings=1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Play(c.reports), c.result) << c.name;
    }
}

TEST(CallTracker, BoundedWithoutLosingACall) {
    CallTrackerLimits limits;
    limits.maxOpenCalls = 2;
    limits.ringTimeout = 2h;
    // Pushed out by the limit, and by the timeout, each with what is known.
    EXPECT_EQ(Play({{0, 'r', R, "0", "A"},
                    {1, 'a', R, "0"},
                    {20, 'r', R, "1", "B"},
                    {40, 'r', R, "2", "C"},
                    {50, 'e', R, "2"}},
                   limits),
              "A=answered C=missed B=unknown rings=3");
    EXPECT_EQ(Play({{0, 'r', R, "0", "A"}, {7300, 'r', R, "1", "B"}, {7301, 'e', R, "0"}}, limits),
              "A=unknown B=unknown rings=2");
}

TEST(SipReason, AnsweredElsewhereOnlyForSipCause200) {
    const struct {
        std::string header;
        bool answered;
    } cases[] = {
        {"SIP;cause=200;text=\"Call completed elsewhere\"", true},
        {"sip ; CAUSE = 200", true},
        {"Q.850;cause=16;text=\"a, b; SIP;cause=200\", SIP;cause=200", true},
        {"Q.850;cause=200", false},
        {"SIP;cause=2000", false},
        {"SIP;cause=487", false},
        {"SIP;text=\"cause=200\"", false},
        {"SIPX;cause=200", false},
        {"SIP;cause=200;text=\"open", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsweredElsewhere(c.header), c.answered) << c.header;
    }
}

}  // namespace
}  // namespace kw
