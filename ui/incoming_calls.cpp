#include "ui/incoming_calls.h"

#include <optional>
#include <utility>

namespace kw::ui {

IncomingCalls::IncomingCalls(MainScreen& screen, const CallInfo& call,
                             CallNotifications& notifications, IncomingCallsPlatform& platform)
    : screen_(screen),
      call_(call),
      notifications_(notifications),
      platform_(platform),
      tracker_([this](const CallRing& ring) { rang(ring); },
               [this](std::uint64_t key, CallOutcome outcome) { ended(key, outcome); }) {}

void IncomingCalls::report(CallSourceKind kind, const platform::CallReport& report) {
    const CallTime now = platform_.now();
    switch (report.stage) {
        case platform::CallStage::Ringing:
            tracker_.ringing(kind, report.callId, report.caller, report.called, now);
            break;
        case platform::CallStage::Answered:
            tracker_.answered(kind, report.callId, now);
            break;
        case platform::CallStage::Ended:
            tracker_.ended(kind, report.callId, now);
            break;
        case platform::CallStage::Forgotten:
            tracker_.forget(kind, report.callId, now);
            break;
    }
}

void IncomingCalls::tick() {
    tracker_.tick(platform_.now());
}

void IncomingCalls::rang(const CallRing& ring) {
    std::optional<std::string> name;
    // Withheld and empty callers are never looked up.
    if (names_ && !ring.caller.empty()) {
        name = names_(ring.caller);
    }
    screen_.phoneRang(ring.caller, ring.called, name.value_or(""));
    notifications_.rang(ring.key, ring.caller, name.value_or(""), ring.called);
    if (platform_.log != nullptr) {
        kept(platform_.log->add(CallEntryOf(ring, name.value_or(""))));
    }
}

void IncomingCalls::ended(std::uint64_t key, CallOutcome outcome) {
    if (outcome == CallOutcome::Answered) {
        notifications_.answered(key);
    } else if (outcome == CallOutcome::Missed) {
        notifications_.missed(key);
    }
    if (platform_.log != nullptr && outcome != CallOutcome::Unknown) {
        kept(platform_.log->setOutcome(key, outcome));
    }
}

void IncomingCalls::kept(const std::string& error) {
    // The reason comes once and stays until a write succeeds again.
    const bool failing = platform_.log->failing();
    if (platform_.showListProblem && (!error.empty() || !failing)) {
        platform_.showListProblem(error);
    }
    if (!failing && platform_.listChanged) {
        platform_.listChanged();
    }
}

void IncomingCalls::setNames(NameLookup names) {
    names_ = std::move(names);
    if (!names_ || call_.AnrufNummer.empty() || !call_.AnrufName.empty()) {
        return;
    }
    if (std::optional<std::string> name = names_(call_.AnrufNummer)) {
        const CallInfo shown = call_;
        screen_.phoneRang(shown.AnrufNummer, shown.MSN, *name);
    }
}

}  // namespace kw::ui
