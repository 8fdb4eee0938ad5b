#include "core/call_info.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace kw {
namespace {

using test::FakeCallView;

TEST(IncomingCall, ShowsBothNumbersExactlyAndArmsTheAction) {
    const struct {
        std::string caller, called, line;
    } cases[] = {
        {"(012) 456789", "67890", "Anruf von (012) 456789 auf Leitung: 67890"},
        {"", "67890", "Anruf von  auf Leitung: 67890"},
        {"", "", "Anruf von  auf Leitung: "},
        {" 0171 ", "\t1", "Anruf von  0171  auf Leitung: \t1"},
        {"<b>&A</b>", "a\r\nb", "Anruf von <b>&A</b> auf Leitung: a\r\nb"},
        {"{MSN}", "{AnrufNummer}", "Anruf von {MSN} auf Leitung: {AnrufNummer}"},
    };
    for (const auto& c : cases) {
        CallInfo call;
        FakeCallView view;
        IncomingCall(call, view, c.caller, c.called);
        EXPECT_EQ(call, (CallInfo{c.caller, c.called}));
        EXPECT_EQ(view.callerLine, c.line);
        EXPECT_TRUE(view.actionEnabled);
    }
}

TEST(IncomingCall, NameStandsBeforeTheNumberAndGoesWithTheCall) {
    CallInfo call;
    FakeCallView view;
    IncomingCall(call, view, "+49301", "42", "Anna <A&B>");
    EXPECT_EQ(call, (CallInfo{"+49301", "42", "Anna <A&B>"}));
    EXPECT_EQ(view.callerLine, "Anruf von Anna <A&B> (+49301) auf Leitung: 42");
    IncomingCall(call, view, "1", "2");
    EXPECT_EQ(view.callerLine, "Anruf von 1 auf Leitung: 2");
    IncomingCall(call, view, "1", "2", "Anna");
    ClearCall(call, view);
    EXPECT_EQ(call, CallInfo{});
}

TEST(IncomingCall, ReplacesEverythingOfThePreviousCall) {
    CallInfo call;
    FakeCallView view;
    IncomingCall(call, view, "0301234567", "11111");
    IncomingCall(call, view, "1", "2");
    EXPECT_EQ(call, (CallInfo{"1", "2"}));
    EXPECT_EQ(view.callerLine, "Anruf von 1 auf Leitung: 2");
}

TEST(IncomingCall, KeepsItsOwnCopies) {
    std::string caller = "0301";
    std::string called = "42";
    CallInfo call;
    FakeCallView view;
    IncomingCall(call, view, caller, called);
    caller = "geändert";
    called.clear();
    EXPECT_EQ(call, (CallInfo{"0301", "42"}));
}

TEST(ClearCall, EmptiesLineRecordAndDisarms) {
    for (const bool signalled : {true, false}) {
        CallInfo call;
        FakeCallView view;
        if (signalled) {
            IncomingCall(call, view, "1", "2");
        }
        ClearCall(call, view);
        EXPECT_EQ(call, CallInfo{});
        EXPECT_EQ(view.callerLine, "");
        EXPECT_FALSE(view.actionEnabled);
    }
}

}  // namespace
}  // namespace kw
