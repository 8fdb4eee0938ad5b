#pragma once

#include "platform/automation.h"

namespace kw::posix {

// Linux has no automation servers: every creation fails with 429, as on a Windows machine that
// lacks the server.
class NoAutomation final : public platform::Automation {
  public:
    Result<std::unique_ptr<platform::AutomationObject>> create(std::string_view progId) override;
};

}  // namespace kw::posix
