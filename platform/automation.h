#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/failure.h"

namespace kw::platform {

// An argument of a late-bound call: a reference to a stored text, which the server may overwrite,
// or a boolean passed by value.
using AutomationArgument = std::variant<std::string*, bool>;

struct NamedArgument {
    std::string_view name;
    AutomationArgument value;
};

// An object of an automation server, called by member name. Destroying it releases the server
// object and everything taken for the calls.
class AutomationObject {
  public:
    virtual ~AutomationObject() = default;

    // Calls the method `member` with positional and named arguments; the result is discarded. A
    // text that the server writes back through a reference replaces the referenced string.
    // Failures carry the server's own number and description where it gives them; otherwise the
    // classic numbers (438 unknown member, 448 unknown named argument). Never throws.
    [[nodiscard]] virtual MaybeFailure invoke(std::string_view member,
                                              std::span<const AutomationArgument> positional,
                                              std::span<const NamedArgument> named) = 0;
};

class Automation {
  public:
    virtual ~Automation() = default;

    // Creates a new object of the server registered under `progId` on this machine. Failure 429
    // when no such server can be created. Never throws.
    virtual Result<std::unique_ptr<AutomationObject>> create(std::string_view progId) = 0;
};

}  // namespace kw::platform
