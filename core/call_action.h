#pragma once

#include "core/app_options.h"
#include "core/call_info.h"
#include "platform/automation.h"
#include "platform/launcher.h"
#include "platform/message_box.h"

namespace kw {

// What the call action reaches outside the program.
struct CallActionPlatform {
    platform::Launcher& launcher;
    platform::Automation& automation;
    platform::MessageBox& messages;
};

// What the action button does for the last signalled call. Any failure ends the action with
// exactly one message box; the call stays signalled so the action can run again.
void RunCallAction(AppOptions& options, CallInfo& call, CallActionPlatform& platform);

}  // namespace kw
