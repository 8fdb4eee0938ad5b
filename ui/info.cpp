#include "ui/info.h"

#include "core/messages.h"
#include "ui/info_layout.h"
#include "ui/version_text.h"

namespace kw::ui {

std::string InfoVersionText(const platform::ProgramVersion& version) {
    std::string text = "Version " + VersionNumbers(version);
    text += kCrLf;
    text += info::kCopyright;
    return text;
}

Info::Info(InfoView& view, const platform::ProgramInfo& program) : view_(view), program_(program) {}

void Info::load() {
    view_.setCaption(info::kCaption);
    view_.setVersionText(InfoVersionText(program_.version()));
}

void Info::okClicked() {
    view_.close();
}

}  // namespace kw::ui
