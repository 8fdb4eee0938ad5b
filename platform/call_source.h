#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kw::platform {

// Whether calls can arrive through one source, and in German why or why not (one line, for the
// phone's tooltip).
struct CallSourceStatus {
    bool receiving = false;
    std::string text;

    friend bool operator==(const CallSourceStatus&, const CallSourceStatus&) = default;
};

// How far one call has come, as a source that can tell reports it.
enum class CallStage { Ringing, Answered, Ended, Forgotten };

// One stage of one call. `callId` is the source's own name for the call (a router reuses its
// ids, a SIP call has its Call-ID); caller and called as delivered, with Ringing only. Valid
// during the call of the handler only.
struct CallReport {
    CallStage stage = CallStage::Ringing;
    std::string_view callId;
    std::string_view caller;
    std::string_view called;
};

// One way for calls to reach the program: a socket, a hosted phone control, a call monitor.
//
// Contract, for every source:
// - start() is called once, on the UI thread, and returns without waiting for a call.
// - It never throws and never ends the program. What keeps calls from arriving, at start or
//   later, is reported through onStatus with receiving == false and a German reason; the source
//   then stays quiet until it can receive again and says so.
// - onStatus is called before start() returns, and again whenever the status changes.
// - onCall gets the caller and the called number exactly as delivered (unchecked, possibly
//   empty or hostile), valid during the call only.
// - Both handlers run on the UI thread only; a source that waits on a thread of its own hands
//   over to the UI thread first.
// - Neither handler is called after the source has been destroyed.
class CallSource {
  public:
    using CallHandler = std::function<void(std::string_view caller, std::string_view called)>;
    using StatusHandler = std::function<void(const CallSourceStatus& status)>;
    using ReportHandler = std::function<void(const CallReport& report)>;

    virtual ~CallSource() = default;

    virtual void start(CallHandler onCall, StatusHandler onStatus) = 0;

    // For a source that can tell what became of its calls (answered, ended): given before
    // start(), every stage of every call goes to `onReport`, its ring included, and onCall stays
    // quiet. The same contract as onCall otherwise. Sources that know rings only ignore it.
    virtual void reportTo(ReportHandler onReport) { (void)onReport; }
};

}  // namespace kw::platform
