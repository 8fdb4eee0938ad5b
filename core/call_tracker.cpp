#include "core/call_tracker.h"

#include <algorithm>
#include <cstdio>

#include "core/same_call_number.h"

namespace kw {

namespace {

// Sources are forged network data: what is kept per open call stays small.
constexpr std::size_t kKeptText = 128;
// Joining looks at this many of the newest open calls; more never ring within seconds.
constexpr int kJoinScan = 64;

bool ReportsOutcome(CallSourceKind source) {
    return source == CallSourceKind::RouterMonitor || source == CallSourceKind::Sip;
}

// Whether a source's id seen again while its call is open is the same call (SIP resends an
// INVITE) or a new one (the router reuses its connection ids).
bool RepeatIsSameCall(CallSourceKind source) {
    return source == CallSourceKind::Sip;
}

unsigned Bit(CallSourceKind source) {
    return 1U << static_cast<unsigned>(source);
}

std::string Kept(std::string_view text) {
    return std::string(text.substr(0, kKeptText));
}

// Long ids keep their start and a hash of the whole, so that two long ids rarely collide.
std::string KeptId(std::string_view id) {
    if (id.size() <= kKeptText) {
        return std::string(id);
    }
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : id) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string(id.substr(0, kKeptText - 16)) + hex;
}

}  // namespace

CallTracker::CallTracker(RingHandler onRing, OutcomeHandler onOutcome, CallTrackerLimits limits)
    : onRing_(std::move(onRing)), onOutcome_(std::move(onOutcome)), limits_(limits) {
    limits_.maxOpenCalls = std::max<std::size_t>(limits_.maxOpenCalls, 1);
}

std::uint64_t CallTracker::newKey(CallTime now) {
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count();
    lastKey_ = std::max(lastKey_ + 1, micros > 0 ? static_cast<std::uint64_t>(micros) : 0);
    return lastKey_;
}

std::map<std::uint64_t, CallTracker::Call>::iterator CallTracker::joinable(CallSourceKind source,
                                                                           std::string_view caller,
                                                                           std::string_view called,
                                                                           CallTime now) {
    auto best = calls_.end();
    auto bestDistance = limits_.sameCallWindow + std::chrono::seconds(1);
    int scanned = 0;
    for (auto it = calls_.end(); it != calls_.begin() && scanned < kJoinScan; ++scanned) {
        --it;
        const auto distance = std::chrono::abs(
            std::chrono::duration_cast<std::chrono::seconds>(now - it->second.time));
        if (distance <= limits_.sameCallWindow && distance < bestDistance &&
            (it->second.sources & Bit(source)) == 0 &&
            SameCallNumber(Kept(caller), it->second.caller) &&
            SameCallNumber(Kept(called), it->second.called)) {
            best = it;
            bestDistance = distance;
        }
    }
    return best;
}

void CallTracker::addLeg(CallSourceKind source, std::string_view callId, std::uint64_t key,
                         Call& call) {
    call.sources |= Bit(source);
    if (ReportsOutcome(source)) {
        LegId id{source, KeptId(callId)};
        legs_[id] = Leg{key, false};
        call.legs.push_back(std::move(id));
        ++call.openLegs;
        waiting_.erase(key);
    } else if (call.openLegs == 0) {
        waiting_.insert(key);
    }
}

void CallTracker::ringing(CallSourceKind source, std::string_view callId, std::string_view caller,
                          std::string_view called, CallTime now) {
    tick(now);
    if (ReportsOutcome(source)) {
        const auto leg = legs_.find({source, KeptId(callId)});
        if (leg != legs_.end()) {
            if (RepeatIsSameCall(source)) {
                return;
            }
            closeLeg(leg, leg->second.answered ? CallOutcome::Answered : CallOutcome::Unknown);
        }
    }
    if (const auto same = joinable(source, caller, called, now); same != calls_.end()) {
        addLeg(source, callId, same->first, same->second);
        return;
    }
    if (calls_.size() >= limits_.maxOpenCalls) {
        finish(calls_.begin()->first);
    }
    const std::uint64_t key = newKey(now);
    Call& call = calls_[key];
    call.time = now;
    call.caller = Kept(caller);
    call.called = Kept(called);
    addLeg(source, callId, key, call);
    onRing_(CallRing{key, now, caller, called, source});
}

void CallTracker::answered(CallSourceKind source, std::string_view callId, CallTime now) {
    tick(now);
    if (const auto leg = legs_.find({source, KeptId(callId)}); leg != legs_.end()) {
        leg->second.answered = true;
    }
}

void CallTracker::ended(CallSourceKind source, std::string_view callId, CallTime now) {
    tick(now);
    if (const auto leg = legs_.find({source, KeptId(callId)}); leg != legs_.end()) {
        closeLeg(leg, leg->second.answered ? CallOutcome::Answered : CallOutcome::Missed);
    }
    tick(now);
}

void CallTracker::forget(CallSourceKind source, std::string_view callId, CallTime now) {
    tick(now);
    if (const auto leg = legs_.find({source, KeptId(callId)}); leg != legs_.end()) {
        closeLeg(leg, leg->second.answered ? CallOutcome::Answered : CallOutcome::Unknown);
    }
    tick(now);
}

void CallTracker::closeLeg(Legs::iterator leg, CallOutcome outcome) {
    const std::uint64_t key = leg->second.key;
    Call& call = calls_.at(key);
    std::erase(call.legs, leg->first);
    legs_.erase(leg);
    call.outcome = Merged(call.outcome, outcome);
    if (--call.openLegs == 0) {
        waiting_.insert(key);
    }
}

void CallTracker::tick(CallTime now) {
    // Both sets are in ring order, and ring times nearly so: the first that is not due stops.
    while (!waiting_.empty()) {
        const std::uint64_t key = *waiting_.begin();
        if (calls_.at(key).time + limits_.sameCallWindow > now) {
            break;
        }
        finish(key);
    }
    while (!calls_.empty() && calls_.begin()->second.time + limits_.ringTimeout <= now) {
        finish(calls_.begin()->first);
    }
}

void CallTracker::finish(std::uint64_t key) {
    const Call& call = calls_.at(key);
    CallOutcome outcome = call.outcome;
    for (const LegId& id : call.legs) {
        if (const auto leg = legs_.find(id); leg != legs_.end()) {
            outcome = Merged(outcome,
                             leg->second.answered ? CallOutcome::Answered : CallOutcome::Unknown);
            legs_.erase(leg);
        }
    }
    calls_.erase(key);
    waiting_.erase(key);
    onOutcome_(key, outcome);
}

}  // namespace kw
