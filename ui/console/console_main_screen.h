#pragma once

#include <iosfwd>
#include <string>

#include "core/app_options.h"
#include "core/call_action.h"
#include "core/call_info.h"
#include "platform/settings_store.h"

namespace kw::console {

// A terminal stand-in for the main window: it shows the caller line and the action button's
// state, and takes the events a window would deliver as typed commands.
class ConsoleMainScreen final : public CallView {
  public:
    ConsoleMainScreen(platform::SettingsStore& store, CallActionPlatform& platform,
                      std::istream& in, std::ostream& out);

    // Runs until the user confirms the exit question or input ends.
    void run();

    void setCallerLine(std::string_view text) override;
    void setActionEnabled(bool enabled) override;

  private:
    void showState();
    void signalCall();
    void showOptions();
    bool confirmExit();

    platform::SettingsStore& store_;
    CallActionPlatform& platform_;
    std::istream& in_;
    std::ostream& out_;
    AppOptions options_;
    CallInfo call_;
    std::string callerLine_;
    bool actionEnabled_ = false;
};

}  // namespace kw::console
