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

    virtual ~CallSource() = default;

    virtual void start(CallHandler onCall, StatusHandler onStatus) = 0;
};

}  // namespace kw::platform
