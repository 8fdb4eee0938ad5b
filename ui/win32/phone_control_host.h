#pragma once

#include "platform/win32/windows_api.h"

#include <unknwn.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/win32/com/com_ptr.h"
#include "ui/win32/event_connection.h"

namespace kw::winui {

// The softphone's ActiveX control in a box of the main window, hosted by the system's atl.dll,
// with its call notification connected to a handler. Whatever is missing, the box exists and
// status() says why no calls are reported. Lives on the UI thread inside the caller's OLE
// apartment.
class PhoneControlHost {
  public:
    using CallHandler = std::function<void(std::string_view caller, std::string_view called)>;

    PhoneControlHost(HWND parent, int controlId, const RECT& box, std::wstring_view progId,
                     CallHandler onCall);
    ~PhoneControlHost();
    PhoneControlHost(const PhoneControlHost&) = delete;
    PhoneControlHost& operator=(const PhoneControlHost&) = delete;

    bool hosted() const { return connection_.connected(); }
    const std::string& status() const { return status_; }
    HWND window() const { return box_.get(); }
    void move(const RECT& box);

  private:
    using Window = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)>;

    void host(HWND parent, int controlId, const RECT& box, std::wstring_view progId,
              CallHandler onCall);
    void close() noexcept;

    Window box_{nullptr, &DestroyWindow};
    win32::ComPtr<IUnknown> control_;
    win32::ComPtr<IUnknown> container_;
    EventConnection connection_;
    std::string status_;
};

}  // namespace kw::winui
