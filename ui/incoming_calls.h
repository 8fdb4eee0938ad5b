#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/call_info.h"
#include "core/call_log.h"
#include "core/call_tracker.h"
#include "platform/call_source.h"
#include "ui/book_loader.h"
#include "ui/call_notifications.h"
#include "ui/main_screen.h"

namespace kw::ui {

struct IncomingCallsPlatform {
    // Where calls are kept; null: nowhere.
    CallLog* log = nullptr;
    // Why calls cannot be kept, in German, once; empty again once they can.
    std::function<void(const std::string& reason)> showListProblem;
    // The list has a new entry or a new outcome.
    std::function<void()> listChanged;
    std::function<CallTime()> now = [] { return std::chrono::system_clock::now(); };
};

// Where every report of a call goes, the same on both systems: one call however many sources
// report it, its ring to the main window (with the name the books know) and to the desktop's
// notification, the call and what became of it to the call list.
class IncomingCalls {
  public:
    IncomingCalls(MainScreen& screen, const CallInfo& call, CallNotifications& notifications,
                  IncomingCallsPlatform& platform);

    void report(CallSourceKind kind, const platform::CallReport& report);
    // Hands out the outcomes that are due; every few seconds.
    void tick();

    // Books read anew: later calls are named from them, and so is the call in the caller line
    // when it rang before they were read.
    void setNames(NameLookup names);

  private:
    void rang(const CallRing& ring);
    void ended(std::uint64_t key, CallOutcome outcome);
    void kept(const std::string& error);

    MainScreen& screen_;
    const CallInfo& call_;
    CallNotifications& notifications_;
    IncomingCallsPlatform& platform_;
    NameLookup names_;
    CallTracker tracker_;
};

}  // namespace kw::ui
