#pragma once

#include "platform/failure.h"

namespace kw::platform {

// The desktop's record that the program starts when the user logs in.
//
// Contract: never throws. enabled() reads the real entry each time, so that an entry the user
// removed by other means shows as removed. A failure carries a German description.
class Autostart {
  public:
    virtual ~Autostart() = default;

    [[nodiscard]] virtual Result<bool> enabled() = 0;
    // Makes the entry exist (on) or not (off); doing what is already so succeeds.
    [[nodiscard]] virtual MaybeFailure set(bool on) = 0;
};

}  // namespace kw::platform
