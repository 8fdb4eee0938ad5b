#pragma once

#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "core/sip_account.h"
#include "platform/call_source.h"
#include "platform/qt/sip_stack.h"

class QObject;

namespace kw::qt {

// Registers as one more device of the user's number at a SIP telephone system and reports the
// calls ringing there. It lets them ring and never answers, so the call stays with the phones.
//
// The SIP stack runs on a thread of its own: a flood of requests costs the window at most one
// queued event, and only the newest status and the newest reports of calls reach it.
class SipSource final : public platform::CallSource {
  public:
    SipSource(SipAccount account, std::string password, SipStackOptions options = {});
    ~SipSource() override;

    SipSource(const SipSource&) = delete;
    SipSource& operator=(const SipSource&) = delete;

    void start(CallHandler onCall, StatusHandler onStatus) override;
    void reportTo(ReportHandler onReport) override { onReport_ = std::move(onReport); }

    struct Mailbox;
    struct Report;

  private:
    void deliver();

    SipAccount account_;
    std::string password_;
    SipStackOptions options_;
    CallHandler onCall_;
    ReportHandler onReport_;
    StatusHandler onStatus_;
    bool delivering_ = false;
    std::shared_ptr<Mailbox> mailbox_;
    std::unique_ptr<QObject> context_;
    std::thread worker_;
};

}  // namespace kw::qt
