#pragma once

#include "platform/automation.h"

namespace kw::win32 {

// Creates automation servers through COM: the ProgID is looked up on this machine and the object
// is created in process or as a local server. Each object joins the calling thread to a
// single-threaded apartment for its lifetime, so it must be used and destroyed on that thread.
class DispatchAutomation final : public platform::Automation {
  public:
    Result<std::unique_ptr<platform::AutomationObject>> create(std::string_view progId) override;
};

}  // namespace kw::win32
