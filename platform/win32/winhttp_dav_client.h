#pragma once

#include <cstdint>

#include "platform/dav_client.h"
#include "platform/win32/internet_handle.h"
#include "platform/win32/unique_handle.h"

namespace kw::win32 {

// The address-book server reached through WinHTTP, which uses the system's proxy settings and
// trust store. The calls run asynchronously under the blocking send(), so that a stalled server,
// the deadline and cancel() can end any step at once; nothing ever asks the user for a password.
class WinHttpDavClient final : public platform::DavClient {
  public:
    WinHttpDavClient();
    ~WinHttpDavClient() override;
    WinHttpDavClient(const WinHttpDavClient&) = delete;
    WinHttpDavClient& operator=(const WinHttpDavClient&) = delete;

    platform::DavReply send(const platform::DavRequest& request,
                            const platform::DavLimits& limits) override;
    void cancel() override;

  private:
    InternetHandle session_;
    std::uint32_t sessionError_ = 0;  // why there is no session
    UniqueHandle cancelled_;          // manual-reset: stays set for every later send()
};

}  // namespace kw::win32
