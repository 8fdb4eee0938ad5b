#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/sip_account.h"
#include "platform/call_source.h"

namespace kw::qt {

struct SipStackOptions {
    // Local address and port to listen on; "*" and 0 let the system choose.
    std::string localHost = "*";
    std::uint16_t localPort = 0;
    std::chrono::milliseconds firstRetry = std::chrono::seconds(5);
    std::chrono::milliseconds longestRetry = std::chrono::minutes(5);
    // What the source asks for; the registrar may shorten it.
    std::chrono::seconds expires = std::chrono::seconds(600);
    // How often the registrar is asked whether it is still there, and how long a request waits
    // for any answer: a registrar gone quiet is noticed within their sum.
    std::chrono::milliseconds keepAlive = std::chrono::seconds(20);
    std::chrono::milliseconds giveUpAfter = std::chrono::seconds(32);
};

// The SIP user agent behind the SIP source: registers, lets INVITEs ring, follows CANCEL. Lives
// entirely on the thread that calls run(); the handlers are called there.
class SipStack {
  public:
    struct Handlers {
        // A stage of one call, named by its Call-ID; caller and called with Ringing only.
        std::function<void(platform::CallStage stage, std::string callId, std::string caller,
                           std::string called)>
            call;
        std::function<void(platform::CallSourceStatus status)> status;
    };

    // Returns once `stop` is set, after a bounded farewell to the registrar.
    static void Run(const SipAccount& account, const std::string& password,
                    const SipStackOptions& options, const Handlers& handlers,
                    const std::atomic<bool>& stop);
};

}  // namespace kw::qt
