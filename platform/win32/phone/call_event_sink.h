#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

#include <functional>
#include <string_view>

#include "platform/win32/com/com_ptr.h"
#include "platform/win32/phone/call_event_lookup.h"

namespace kw::win32 {

using CallEventHandler = std::function<void(std::string_view caller, std::string_view called)>;

// A sink for the control's events, answering as the dispinterface `event.source`: it hands the
// caller and called number of the call event, as UTF-8 copies, to `handler` and ignores every
// other event. The texts arrive by reference and are only ever read.
ComPtr<IDispatch> MakeCallEventSink(const CallEvent& event, CallEventHandler handler);

}  // namespace kw::win32
