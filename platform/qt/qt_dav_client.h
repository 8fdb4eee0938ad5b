#pragma once

#include <atomic>

#include "platform/dav_client.h"

namespace kw::qt {

// The address-book server reached with Qt Network from whichever thread calls send(): each
// exchange has its own access manager and event loop on that thread, so none of it outlives the
// call or needs a thread of its own, and the client may be handed between threads.
class QtDavClient final : public platform::DavClient {
  public:
    platform::DavReply send(const platform::DavRequest& request,
                            const platform::DavLimits& limits) override;
    void cancel() override;

  private:
    std::atomic<bool> cancelled_{false};
};

}  // namespace kw::qt
