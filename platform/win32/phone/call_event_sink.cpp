#include "platform/win32/phone/call_event_sink.h"

#include <oleauto.h>

#include <new>
#include <optional>
#include <string>
#include <utility>

#include "platform/win32/com/variant.h"
#include "platform/win32/wide_text.h"

namespace kw::win32 {

namespace {

constexpr UINT kCallEventArguments = 3;

std::wstring_view TextOf(BSTR text) {
    return text == nullptr ? std::wstring_view() : std::wstring_view(text, SysStringLen(text));
}

// A copy of an argument as text, read without writing through any reference; empty when the
// argument is no text and cannot become one.
std::optional<std::string> TextArgument(const VARIANT& argument) {
    if ((argument.vt & VT_BYREF) != 0 && argument.byref == nullptr) {
        return std::nullopt;
    }
    if (argument.vt == (VT_BSTR | VT_BYREF)) {
        return WideToUtf8(TextOf(*argument.pbstrVal));
    }
    if (argument.vt == VT_BSTR) {
        return WideToUtf8(TextOf(argument.bstrVal));
    }
    if (argument.vt == (VT_VARIANT | VT_BYREF) && argument.pvarVal->vt == VT_BSTR) {
        return WideToUtf8(TextOf(argument.pvarVal->bstrVal));
    }
    // A shallow duplicate only because the API takes a mutable source; it is never cleared.
    VARIANT source = argument;
    Variant copy;
    if (FAILED(VariantCopyInd(copy.get(), &source)) ||
        FAILED(VariantChangeType(copy.get(), copy.get(), 0, VT_BSTR)) ||
        copy.get()->vt != VT_BSTR) {
        return std::nullopt;
    }
    return WideToUtf8(TextOf(copy.get()->bstrVal));
}

#if defined(__GNUC__)
// COM objects are deleted by their own Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class CallEventSink final : public IDispatch {
  public:
    CallEventSink(const CallEvent& event, CallEventHandler handler);
    CallEventSink(const CallEventSink&) = delete;
    CallEventSink& operator=(const CallEventSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID interfaceId, LPOLESTR* names, UINT count,
                                            LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID interfaceId, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

  private:
    ~CallEventSink() = default;

    void deliver(const DISPPARAMS& parameters) const;

    CallEvent event_;
    CallEventHandler handler_;
    ULONG references_ = 1;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

}  // namespace

ComPtr<IDispatch> MakeCallEventSink(const CallEvent& event, CallEventHandler handler) {
    ComPtr<IDispatch> sink;
    *sink.put() = new CallEventSink(event, std::move(handler));
    return sink;
}

CallEventSink::CallEventSink(const CallEvent& event, CallEventHandler handler)
    : event_(event), handler_(std::move(handler)) {}

HRESULT CallEventSink::QueryInterface(REFIID interfaceId, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IDispatch) ||
        IsEqualIID(interfaceId, event_.source)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CallEventSink::AddRef() {
    return ++references_;
}

ULONG CallEventSink::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT CallEventSink::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT CallEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT CallEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT CallEventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                              EXCEPINFO*, UINT*) {
    if (member != event_.id || parameters == nullptr) {
        return S_OK;
    }
    // The handler may release the last reference to this sink by closing the host.
    AddRef();
    try {
        deliver(*parameters);
    } catch (...) {
        // Nothing may cross the COM boundary; a notification that cannot be shown is lost.
    }
    Release();
    return S_OK;
}

void CallEventSink::deliver(const DISPPARAMS& parameters) const {
    if (parameters.cArgs != kCallEventArguments || parameters.cNamedArgs != 0 ||
        parameters.rgvarg == nullptr || !handler_) {
        return;
    }
    // The arguments lie in reverse order: the first parameter is the last element.
    const std::optional<std::string> caller = TextArgument(parameters.rgvarg[2]);
    const std::optional<std::string> called = TextArgument(parameters.rgvarg[1]);
    if (!caller || !called) {
        return;
    }
    // A copy, so that the handler survives the host being destroyed inside it.
    const CallEventHandler handler = handler_;
    handler(*caller, *called);
}

}  // namespace kw::win32
