#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/call_outcome.h"

namespace kw {

using CallTime = std::chrono::system_clock::time_point;

// A call as the rest of the program sees it, once, however many sources reported it.
struct CallRing {
    std::uint64_t key = 0;  // unique and increasing in this process; names the call in the list
    CallTime time;
    std::string_view caller;  // as the first source reported it, valid during the handler only
    std::string_view called;
    CallSourceKind source = CallSourceKind::RingTool;
};

struct CallTrackerLimits {
    std::size_t maxOpenCalls = 10000;
    std::chrono::seconds sameCallWindow{10};  // reports this close, same numbers: one call
    std::chrono::hours ringTimeout{12};       // a call still open then ends with what is known
};

// Follows incoming calls from ringing to their outcome and joins the reports of one call from
// several sources (the router's monitor and SIP or klingelwart-ring, say) into one.
//
// Each source names its calls by its own id. What to report, per source:
//   router monitor: RING -> ringing, CONNECT -> answered, DISCONNECT -> ended, CALL -> forget
//                   (ReportMonitorLine does this for a line)
//   SIP:            INVITE -> ringing, CANCEL -> ReportSipCancel (answered elsewhere or not),
//                   the caller giving up otherwise -> ended
//   klingelwart-ring, phone control: ringing only (any id); their calls' outcome stays unknown
// A source that reports outcomes and ends a call it never saw answered has missed it.
//
// For every call onRing runs exactly once, at its first report, and onOutcome exactly once,
// when every source has ended it and the window for joining has passed (tick), or when it is
// pushed out: by the limit of open calls (oldest first) or the ring timeout, then with what
// is known so far. Handlers must not call back into the tracker. Everything runs on one thread.
class CallTracker {
  public:
    using RingHandler = std::function<void(const CallRing& call)>;
    using OutcomeHandler = std::function<void(std::uint64_t key, CallOutcome outcome)>;

    CallTracker(RingHandler onRing, OutcomeHandler onOutcome, CallTrackerLimits limits = {});

    void ringing(CallSourceKind source, std::string_view callId, std::string_view caller,
                 std::string_view called, CallTime now);
    // The call was taken, at any telephone. Reports for calls the tracker does not know (ended
    // already, never rung, an outgoing call) are ignored, as is every report of a second source
    // of the same kind.
    void answered(CallSourceKind source, std::string_view callId, CallTime now);
    void ended(CallSourceKind source, std::string_view callId, CallTime now);
    // The source's id now means something else (the router reuses it for an outgoing call): the
    // call ends for this source with what it knew, without counting as missed.
    void forget(CallSourceKind source, std::string_view callId, CallTime now);

    // Hands out the outcomes that are due. Call it every few seconds; every report calls it too.
    void tick(CallTime now);

    std::size_t openCalls() const { return calls_.size(); }

  private:
    using LegId = std::pair<CallSourceKind, std::string>;
    struct Call {
        CallTime time;
        std::string caller;  // bounded copies, for joining only
        std::string called;
        unsigned sources = 0;     // bit per CallSourceKind that joined
        std::vector<LegId> legs;  // open ones, at most one per source kind
        int openLegs = 0;
        CallOutcome outcome = CallOutcome::Unknown;
    };
    struct Leg {
        std::uint64_t key = 0;
        bool answered = false;
    };
    using Legs = std::map<LegId, Leg>;

    std::uint64_t newKey(CallTime now);
    std::map<std::uint64_t, Call>::iterator joinable(CallSourceKind source, std::string_view caller,
                                                     std::string_view called, CallTime now);
    void addLeg(CallSourceKind source, std::string_view callId, std::uint64_t key, Call& call);
    void closeLeg(Legs::iterator leg, CallOutcome outcome);
    void finish(std::uint64_t key);

    RingHandler onRing_;
    OutcomeHandler onOutcome_;
    CallTrackerLimits limits_;
    std::map<std::uint64_t, Call> calls_;  // open, oldest first
    Legs legs_;                            // open per source, for sources that report an end
    std::set<std::uint64_t> waiting_;      // ended everywhere, in the joining window still
    std::uint64_t lastKey_ = 0;
};

}  // namespace kw
