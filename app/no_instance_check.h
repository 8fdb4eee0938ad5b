#pragma once

#include "platform/instance_guard.h"

namespace kw::app {

// Stands in when there is no private directory to hold the instance lock: the program starts
// all the same, as it would with a lock file it cannot open.
class NoInstanceCheck final : public platform::InstanceGuard {
  public:
    bool previousInstanceRunning() const override { return false; }
};

}  // namespace kw::app
