#pragma once

#include "platform/win32/windows_api.h"

#include <ocidl.h>

#include "platform/win32/com/com_ptr.h"

namespace kw::win32 {

// One sink advised to one connection point of an event source; unadvised on destruction.
class EventConnection {
  public:
    EventConnection() = default;
    ~EventConnection();
    EventConnection(EventConnection&& other) noexcept;
    EventConnection& operator=(EventConnection&& other) noexcept;
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

    // Advises `sink` to the connection point of `source` for `events`.
    static HRESULT Connect(IUnknown& source, REFIID events, IUnknown& sink,
                           EventConnection& connection);

    bool connected() const { return static_cast<bool>(point_); }
    void reset() noexcept;

  private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace kw::win32
