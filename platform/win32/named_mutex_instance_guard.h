#pragma once

#include <string>
#include <string_view>

#include "platform/instance_guard.h"
#include "platform/win32/unique_handle.h"

namespace kw::win32 {

// Claims the instance with a named mutex in the session's namespace, one per user:
// "Local\<program>-<user's SID>". The mutex is not owned, only held: the system removes it
// when the last handle closes, also when a process ends without cleaning up, so a crashed
// instance leaves no claim behind. A mutex that cannot be created counts as no previous
// instance, so the program still starts.
class NamedMutexInstanceGuard final : public platform::InstanceGuard {
  public:
    explicit NamedMutexInstanceGuard(std::string_view program);

    bool previousInstanceRunning() const override { return previous_; }

    // The name used for `program` and the current user.
    static std::wstring mutexName(std::string_view program);

  private:
    UniqueHandle mutex_;
    bool previous_ = false;
};

}  // namespace kw::win32
