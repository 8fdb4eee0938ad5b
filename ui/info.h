#pragma once

#include <string>
#include <string_view>

#include "platform/program_info.h"

namespace kw::ui {

class InfoView {
  public:
    virtual ~InfoView() = default;
    virtual void setCaption(std::string_view text) = 0;
    virtual void setVersionText(std::string_view text) = 0;
    virtual void close() = 0;
};

// "Version 2.0.0", a line break, then the copyright line.
std::string InfoVersionText(const platform::ProgramVersion& version);

// The about dialog's behaviour.
class Info {
  public:
    Info(InfoView& view, const platform::ProgramInfo& program);

    void load();
    void okClicked();  // cmdOK, Enter, Esc, the frame's close box

  private:
    InfoView& view_;
    const platform::ProgramInfo& program_;
};

}  // namespace kw::ui
