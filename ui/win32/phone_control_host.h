#pragma once

#include "platform/win32/windows_api.h"

#include <unknwn.h>

#include <memory>
#include <string_view>
#include <type_traits>

#include "platform/win32/com/com_ptr.h"
#include "platform/win32/phone/phone_control_source.h"

namespace kw::winui {

// The softphone's ActiveX control in a box of the main window, hosted by the system's atl.dll.
// Whatever is missing, the box exists. Its call notification belongs to the PhoneControlSource
// the host is handed to. Lives on the UI thread inside the caller's OLE apartment.
class PhoneControlHost {
  public:
    PhoneControlHost(HWND parent, int controlId, const RECT& box, std::wstring_view progId);
    ~PhoneControlHost();
    PhoneControlHost(const PhoneControlHost&) = delete;
    PhoneControlHost& operator=(const PhoneControlHost&) = delete;

    // Gives `source` the control, or tells it why there is none. `source` must outlive the host,
    // which detaches it before closing the control.
    void handTo(win32::PhoneControlSource& source);
    // Detaches the source handed to, which may then go before the host.
    void takeBack() noexcept;

    bool hosted() const { return static_cast<bool>(container_); }
    HWND window() const { return box_.get(); }
    void move(const RECT& box);

  private:
    using Window = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)>;

    void host(HWND parent, int controlId, const RECT& box, std::wstring_view progId);
    void close() noexcept;

    Window box_{nullptr, &DestroyWindow};
    win32::ComPtr<IUnknown> control_;
    win32::ComPtr<IUnknown> container_;
    win32::PhoneHostingFailure failure_ = win32::PhoneHostingFailure::kCannotStart;
    HRESULT failureCode_ = E_UNEXPECTED;
    win32::PhoneControlSource* source_ = nullptr;
};

}  // namespace kw::winui
