#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

#include <memory>

#include "platform/automation.h"
#include "platform/win32/com/com_apartment.h"
#include "platform/win32/com/com_ptr.h"

namespace kw::win32 {

// A server object called late-bound through IDispatch. Holds its own share of the thread's COM
// apartment, so that COM stays initialised until the object has been released. Must be called
// and destroyed on the thread that created it.
class DispatchObject final : public platform::AutomationObject {
  public:
    DispatchObject(std::unique_ptr<ComApartment> apartment, ComPtr<IDispatch> dispatch) noexcept;

    [[nodiscard]] MaybeFailure invoke(std::string_view member,
                                      std::span<const platform::AutomationArgument> positional,
                                      std::span<const platform::NamedArgument> named) override;

  private:
    MaybeFailure call(std::string_view member,
                      std::span<const platform::AutomationArgument> positional,
                      std::span<const platform::NamedArgument> named);

    // Declared first, so that it is released after the object.
    std::unique_ptr<ComApartment> apartment_;
    ComPtr<IDispatch> dispatch_;
};

}  // namespace kw::win32
