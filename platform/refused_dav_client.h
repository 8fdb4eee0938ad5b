#pragma once

#include <atomic>
#include <string>
#include <utility>

#include "platform/dav_client.h"

namespace kw::platform {

// A client whose backend could not be had (say, its module is missing): every exchange ends at
// once with why, so a sync reports it instead of failing without a word.
class RefusedDavClient final : public DavClient {
  public:
    explicit RefusedDavClient(std::string reason) : reason_(std::move(reason)) {}

    DavReply send(const DavRequest& /*request*/, const DavLimits& /*limits*/) override {
        if (cancelled_.load()) {
            return DavReply{DavFault::Cancelled};
        }
        return DavReply{DavFault::Other, 0, {}, reason_};
    }

    void cancel() override { cancelled_.store(true); }

  private:
    std::string reason_;
    std::atomic<bool> cancelled_{false};
};

}  // namespace kw::platform
