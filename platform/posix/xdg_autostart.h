#pragma once

#include <string>

#include "platform/autostart.h"

namespace kw::posix {

// <config>/autostart/klingelwart.desktop, as the XDG autostart rules read it. The entry names
// the program in TryExec too, so that a removed program leaves no broken entry behind: the
// session then skips it.
class XdgAutostart final : public platform::Autostart {
  public:
    // `configHome`: $XDG_CONFIG_HOME or ~/.config; `program`: the absolute path to start.
    XdgAutostart(std::string configHome, std::string program);

    // $XDG_CONFIG_HOME when absolute, else $HOME/.config.
    static std::string defaultConfigHome();

    Result<bool> enabled() override;
    MaybeFailure set(bool on) override;

    std::string entryPath() const;
    // The entry's text: a desktop entry whose Exec quotes the program as the format asks.
    std::string entryText() const;

  private:
    std::string configHome_;
    std::string program_;
};

}  // namespace kw::posix
