#pragma once

#include "platform/win32/windows_api.h"

#include <unknwn.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/call_source.h"
#include "platform/win32/com/com_ptr.h"
#include "platform/win32/phone/event_connection.h"

namespace kw::win32 {

// The softphone's ActiveX control that the main window hosts.
inline constexpr wchar_t kPhoneProgId[] = L"PhonerActiveX.axPhoner";

// Why the window runs no phone control.
enum class PhoneHostingFailure {
    kNoAtlHost,     // atl.dll is missing
    kNotInstalled,  // the ProgID or its class is not registered
    kCannotStart,   // creating or placing the control failed with the HRESULT given
};

// The hosted phone control's call notification. The window that hosts the control hands it over
// (attach) or says why it cannot (hostingFailed), before or after start(), and detaches it
// before closing it. UI thread only, inside the window's OLE apartment.
class PhoneControlSource final : public platform::CallSource {
  public:
    explicit PhoneControlSource(std::wstring_view progId = kPhoneProgId);
    ~PhoneControlSource() override;

    PhoneControlSource(const PhoneControlSource&) = delete;
    PhoneControlSource& operator=(const PhoneControlSource&) = delete;

    const std::wstring& progId() const { return progId_; }

    void attach(IUnknown& control);
    void hostingFailed(PhoneHostingFailure failure, HRESULT hr);
    // No call is reported afterwards; the status is not reported again, the window is closing.
    void detach() noexcept;

    void start(CallHandler onCall, StatusHandler onStatus) override;

    bool connected() const { return connection_.connected(); }

  private:
    void connect();
    void report(bool receiving, std::string text);

    std::wstring progId_;
    ComPtr<IUnknown> control_;
    EventConnection connection_;
    platform::CallSourceStatus status_;
    CallHandler onCall_;
    StatusHandler onStatus_;
    bool started_ = false;
};

}  // namespace kw::win32
