#pragma once

namespace kw::platform {

// Tells whether another instance of the program runs for this user. The guard claims the
// instance when it is created and releases it when destroyed; a claim left behind by a crashed
// instance does not count as running.
class InstanceGuard {
  public:
    virtual ~InstanceGuard() = default;
    virtual bool previousInstanceRunning() const = 0;
};

}  // namespace kw::platform
