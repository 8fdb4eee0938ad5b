#pragma once

#include <string>
#include <utility>

#include "platform/call_source.h"

namespace kw::platform {

// A source that was switched on but cannot start at all (say, its password is missing): it
// only tells the phone why, so the choice is not silently lost.
class RefusedSource final : public CallSource {
  public:
    explicit RefusedSource(std::string reason) : reason_(std::move(reason)) {}

    void start(CallHandler /*onCall*/, StatusHandler onStatus) override {
        onStatus(CallSourceStatus{false, reason_});
    }

  private:
    std::string reason_;
};

}  // namespace kw::platform
