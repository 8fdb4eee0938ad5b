#pragma once

#include <string>

namespace kw::platform {

// Opens a compiled help file at its default topic with the desktop's viewer, without waiting.
// A missing file or viewer is the viewer's business: nothing is reported, nothing thrown.
class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    virtual void open(const std::string& path) = 0;
};

}  // namespace kw::platform
