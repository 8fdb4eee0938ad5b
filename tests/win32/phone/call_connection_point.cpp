#include "tests/win32/phone/call_connection_point.h"

#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::test::phone {

namespace {

constexpr LONG kLine = 0;

bool Unchanged(BSTR now, BSTR original, std::wstring_view text) {
    return now == original && SysStringLen(now) == text.size() &&
           std::wstring_view(now, SysStringLen(now)) == text;
}

}  // namespace

CallConnectionPoint::CallConnectionPoint(IConnectionPointContainer* container)
    : container_(container) {}

long CallConnectionPoint::ring(std::wstring_view caller, std::wstring_view called) {
    // A sink may unadvise or close the whole control while it is called.
    AddRef();
    std::vector<win32::ComPtr<IDispatch>> sinks;
    for (const auto& entry : sinks_) {
        entry.second->AddRef();
        win32::ComPtr<IDispatch> sink;
        *sink.put() = entry.second.get();
        sinks.push_back(std::move(sink));
    }
    long calledSinks = 0;
    bool touched = false;
    for (const win32::ComPtr<IDispatch>& sink : sinks) {
        const BSTR callerText = SysAllocStringLen(caller.data(), static_cast<UINT>(caller.size()));
        const BSTR calledText = SysAllocStringLen(called.data(), static_cast<UINT>(called.size()));
        BSTR callerSlot = callerText;
        BSTR calledSlot = calledText;
        VARIANT arguments[3];  // reversed: the line, the called number, the caller
        arguments[2].vt = VT_BSTR | VT_BYREF;
        arguments[2].pbstrVal = &callerSlot;
        arguments[1].vt = VT_BSTR | VT_BYREF;
        arguments[1].pbstrVal = &calledSlot;
        arguments[0].vt = VT_I4;
        arguments[0].lVal = kLine;
        DISPPARAMS parameters{arguments, nullptr, 3, 0};
        sink->Invoke(kCallEventId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                     nullptr, nullptr, nullptr);
        ++calledSinks;
        touched = touched || !Unchanged(callerSlot, callerText, caller) ||
                  !Unchanged(calledSlot, calledText, called) ||
                  arguments[2].vt != (VT_BSTR | VT_BYREF) || arguments[2].pbstrVal != &callerSlot ||
                  arguments[1].vt != (VT_BSTR | VT_BYREF) || arguments[1].pbstrVal != &calledSlot;
        // A replaced text belongs to us now; the original is then the sink's business.
        SysFreeString(callerSlot);
        SysFreeString(calledSlot);
    }
    if (calledSinks > 0) {
        (touched ? touched_ : untouched_) += 1;
    }
    Release();
    return calledSinks > 0 ? calledSinks : -1;
}

HRESULT CallConnectionPoint::GetConnectionInterface(IID* interfaceId) {
    if (interfaceId == nullptr) {
        return E_POINTER;
    }
    *interfaceId = kEventsId;
    return S_OK;
}

HRESULT CallConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (container == nullptr) {
        return E_POINTER;
    }
    *container = container_;
    if (container_ == nullptr) {
        return E_UNEXPECTED;
    }
    container_->AddRef();
    return S_OK;
}

HRESULT CallConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (cookie == nullptr) {
        return E_POINTER;
    }
    *cookie = 0;
    if (sink == nullptr) {
        return E_POINTER;
    }
    win32::ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(kEventsId, events.putVoid())) || !events) {
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = nextCookie_++;
    sinks_.emplace(*cookie, std::move(events));
    return S_OK;
}

HRESULT CallConnectionPoint::Unadvise(DWORD cookie) {
    const auto found = sinks_.find(cookie);
    if (found == sinks_.end()) {
        return CONNECT_E_NOCONNECTION;
    }
    // Released after the map has forgotten it: the sink's Release may call back.
    const win32::ComPtr<IDispatch> sink = std::move(found->second);
    sinks_.erase(found);
    return S_OK;
}

HRESULT CallConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections != nullptr) {
        *connections = nullptr;
    }
    return E_NOTIMPL;
}

}  // namespace kw::test::phone
