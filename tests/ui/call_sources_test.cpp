#include "ui/call_sources.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kw::ui {
namespace {

using platform::CallSource;
using platform::CallSourceStatus;

// Reports `initial` at start; the test rings and changes the status through it afterwards.
class FakeSource final : public CallSource {
  public:
    explicit FakeSource(std::vector<CallSourceStatus> initial) : initial_(std::move(initial)) {}

    void start(CallHandler onCall, StatusHandler onStatus) override {
        onCall_ = std::move(onCall);
        onStatus_ = std::move(onStatus);
        for (const CallSourceStatus& status : initial_) {
            onStatus_(status);
        }
    }
    void ring(std::string_view caller, std::string_view called) { onCall_(caller, called); }
    void report(const CallSourceStatus& status) { onStatus_(status); }

  private:
    std::vector<CallSourceStatus> initial_;
    CallHandler onCall_;
    StatusHandler onStatus_;
};

class RecordingView final : public CallSourcesView {
  public:
    void showCallSources(const std::vector<CallSourceStatus>& statuses) override {
        shown.push_back(statuses);
    }
    std::vector<std::vector<CallSourceStatus>> shown;
};

const CallSourceStatus kSocket{true,
                               "Wartet auf Anrufe über /run/user/1000/klingelwart/phone.sock"};
const CallSourceStatus kNoDirectory{false, "Wartet nicht auf Anrufe: Kein Verzeichnis"};

class CallSourcesTest : public ::testing::Test {
  protected:
    FakeSource& add(std::vector<CallSourceStatus> initial) {
        auto source = std::make_unique<FakeSource>(std::move(initial));
        FakeSource& added = *source;
        sources.add(std::move(source));
        return added;
    }

    RecordingView view;
    std::vector<std::string> calls;
    std::vector<std::string> log;  // outlives the sources that write to it
    CallSources sources{[this](std::string_view caller, std::string_view called) {
                            calls.push_back(std::string(caller) + "|" + std::string(called));
                        },
                        view};
};

TEST_F(CallSourcesTest, CallsFromEverySourceReachTheHandlerAsDelivered) {
    FakeSource& first = add({kSocket});
    FakeSource& second = add({kSocket});
    sources.start();
    first.ring("(030) 1", "42");
    second.ring("", "");
    first.ring(std::string("0\0"
                           "1",
                           3),
               "&");
    EXPECT_EQ(calls, (std::vector<std::string>{"(030) 1|42", "|",
                                               std::string("0\0"
                                                           "1|&",
                                                           5)}));
}

TEST_F(CallSourcesTest, StartShowsEverySourceOnceInOrder) {
    add({kNoDirectory});
    add({{false, "zuerst"}, kSocket});  // changes during its start: only the last counts
    add({});                            // never reports
    sources.start();
    ASSERT_EQ(view.shown.size(), 1U);
    const std::vector<CallSourceStatus> expected{
        kNoDirectory, kSocket, {false, "Wartet noch nicht auf Anrufe"}};
    EXPECT_EQ(view.shown[0], expected);
}

TEST_F(CallSourcesTest, ALaterChangeUpdatesTheViewOnlyWhenItIsOne) {
    FakeSource& source = add({kSocket});
    add({kNoDirectory});
    sources.start();
    source.report(kSocket);
    EXPECT_EQ(view.shown.size(), 1U);
    source.report({false, "Router nicht erreichbar"});
    ASSERT_EQ(view.shown.size(), 2U);
    EXPECT_FALSE(AnyReceiving(view.shown.back()));
    EXPECT_EQ(CallSourcesTooltip(view.shown.back()),
              "Router nicht erreichbar\nWartet nicht auf Anrufe: Kein Verzeichnis");
}

// Logs its start and its end, for the order in which replace() swaps sources.
class LoggingSource final : public CallSource {
  public:
    LoggingSource(std::string name, std::vector<std::string>& log)
        : name_(std::move(name)), log_(log) {}
    ~LoggingSource() override { log_.push_back("end " + name_); }

    void start(CallHandler onCall, StatusHandler onStatus) override {
        log_.push_back("start " + name_);
        onStatus({true, name_});
        onCall(name_, "");
    }

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST_F(CallSourcesTest, ReplaceEndsTheOldSourcesBeforeTheNewOnesStart) {
    sources.add(std::make_unique<LoggingSource>("a", log));
    sources.add(std::make_unique<LoggingSource>("b", log));
    sources.start();
    std::vector<KindedSource> next;
    next.push_back({CallSourceKind::RingTool, std::make_unique<LoggingSource>("c", log)});
    next.push_back({CallSourceKind::RingTool, nullptr});
    sources.replace(std::move(next));
    EXPECT_EQ(log, (std::vector<std::string>{"start a", "start b", "end a", "end b", "start c"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"a|", "b|", "c|"}));
    ASSERT_EQ(view.shown.size(), 2U);
    EXPECT_EQ(view.shown.back(), (std::vector<CallSourceStatus>{{true, "c"}}));
}

TEST_F(CallSourcesTest, WithNoSourceThePhoneSaysSo) {
    add({kSocket});
    sources.start();
    sources.replace({});
    const std::vector<CallSourceStatus> none{{false, "Keine Anrufquelle eingeschaltet"}};
    ASSERT_EQ(view.shown.size(), 2U);
    EXPECT_EQ(view.shown.back(), none);
    sources.replace({});
    EXPECT_EQ(view.shown.back(), none);
}

TEST_F(CallSourcesTest, NotesFollowTheSourcesAndSurviveAReplace) {
    add({kSocket});
    sources.start();
    const CallSourceStatus note{false, "Keine Benachrichtigungen: x"};
    sources.setNote("Benachrichtigung", note.text);
    sources.setNote("Benachrichtigung", note.text);  // no change, no new show
    EXPECT_EQ(view.shown.size(), 2U);
    EXPECT_EQ(view.shown.back(), (std::vector<CallSourceStatus>{kSocket, note}));
    sources.replace({});
    EXPECT_EQ(view.shown.back(),
              (std::vector<CallSourceStatus>{{false, "Keine Anrufquelle eingeschaltet"}, note}));
    sources.setNote("Benachrichtigung", "");
    EXPECT_EQ(view.shown.back().size(), 1U);
}

TEST(CallSourcesSummaryTest, CombinesTheStatuses) {
    struct Case {
        std::vector<CallSourceStatus> statuses;
        bool receiving;
        std::string tooltip;
    };
    const Case cases[] = {
        {{}, false, ""},
        {{kNoDirectory}, false, kNoDirectory.text},
        {{kSocket}, true, kSocket.text},
        {{kNoDirectory, kSocket}, true, kNoDirectory.text + "\n" + kSocket.text},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnyReceiving(c.statuses), c.receiving) << c.tooltip;
        EXPECT_EQ(CallSourcesTooltip(c.statuses), c.tooltip);
    }
}

}  // namespace
}  // namespace kw::ui
