#include "platform/posix/no_automation.h"

#include "core/error_numbers.h"

namespace kw::posix {

Result<std::unique_ptr<platform::AutomationObject>> NoAutomation::create(std::string_view) {
    return MakeFailure(error::kCannotCreateObject);
}

}  // namespace kw::posix
