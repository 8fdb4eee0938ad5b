#pragma once

#include <string_view>

#include "core/app_options.h"
#include "core/call_info.h"
#include "core/failure.h"
#include "platform/automation.h"

namespace kw {

inline constexpr std::string_view kDatabaseProgId = "Access.Application";

// Opens the configured database in a new object of the database application, runs the configured
// procedure with the caller number (and the called number when Parameter is set) and quits the
// application. The texts are passed by reference, so a value that the server writes back replaces
// the stored one. The first failing step ends the call; the object is released on every path.
[[nodiscard]] MaybeFailure CallDatabaseProcedure(platform::Automation& automation,
                                                 AppOptions& options, CallInfo& call);

}  // namespace kw
