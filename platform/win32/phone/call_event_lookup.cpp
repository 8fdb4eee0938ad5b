#include "platform/win32/phone/call_event_lookup.h"

#include <olectl.h>

#include <string>

#include "platform/win32/com/com_ptr.h"

namespace kw::win32 {

namespace {

// Frees a TYPEATTR or FUNCDESC through the type information that handed it out.
class TypeAttr {
  public:
    explicit TypeAttr(ITypeInfo& info) : info_(info) {
        if (FAILED(info.GetTypeAttr(&attr_))) {
            attr_ = nullptr;
        }
    }
    ~TypeAttr() {
        if (attr_ != nullptr) {
            info_.ReleaseTypeAttr(attr_);
        }
    }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;

    const TYPEATTR* get() const { return attr_; }

  private:
    ITypeInfo& info_;
    TYPEATTR* attr_ = nullptr;
};

class FuncDesc {
  public:
    FuncDesc(ITypeInfo& info, UINT index) : info_(info) {
        if (FAILED(info.GetFuncDesc(index, &desc_))) {
            desc_ = nullptr;
        }
    }
    ~FuncDesc() {
        if (desc_ != nullptr) {
            info_.ReleaseFuncDesc(desc_);
        }
    }
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;

    const FUNCDESC* get() const { return desc_; }

  private:
    ITypeInfo& info_;
    FUNCDESC* desc_ = nullptr;
};

constexpr int kDefaultSource = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
constexpr SHORT kCallEventParameters = 3;

HRESULT DefaultSource(ITypeInfo& coclass, ComPtr<ITypeInfo>& source) {
    const TypeAttr attr(coclass);
    if (attr.get() == nullptr || attr.get()->typekind != TKIND_COCLASS) {
        return TYPE_E_WRONGTYPEKIND;
    }
    for (UINT i = 0; i < attr.get()->cImplTypes; ++i) {
        INT flags = 0;
        HREFTYPE reference = 0;
        if (FAILED(coclass.GetImplTypeFlags(i, &flags)) ||
            (flags & (kDefaultSource | IMPLTYPEFLAG_FRESTRICTED)) != kDefaultSource ||
            FAILED(coclass.GetRefTypeOfImplType(i, &reference))) {
            continue;
        }
        return coclass.GetRefTypeInfo(reference, source.put());
    }
    return CONNECT_E_NOCONNECTION;
}

bool IsTextReference(const ELEMDESC& parameter) {
    const TYPEDESC& type = parameter.tdesc;
    return type.vt == VT_PTR && type.lptdesc != nullptr && type.lptdesc->vt == VT_BSTR;
}

// A control that names its event differently is still understood: the one event with three
// parameters whose first two are texts by reference. Two such events would be a guess.
HRESULT EventBySignature(ITypeInfo& events, DISPID& id) {
    const TypeAttr attr(events);
    if (attr.get() == nullptr) {
        return E_FAIL;
    }
    int matches = 0;
    for (UINT i = 0; i < attr.get()->cFuncs; ++i) {
        const FuncDesc desc(events, i);
        const FUNCDESC* function = desc.get();
        if (function != nullptr && function->cParams == kCallEventParameters &&
            function->lprgelemdescParam != nullptr &&
            IsTextReference(function->lprgelemdescParam[0]) &&
            IsTextReference(function->lprgelemdescParam[1])) {
            id = function->memid;
            ++matches;
        }
    }
    return matches == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

}  // namespace

HRESULT FindCallEventIn(ITypeInfo& coclass, std::wstring_view eventName, CallEvent& found) {
    ComPtr<ITypeInfo> events;
    HRESULT hr = DefaultSource(coclass, events);
    if (FAILED(hr)) {
        return hr;
    }
    const TypeAttr attr(*events.get());
    if (attr.get() == nullptr) {
        return E_FAIL;
    }
    CallEvent event{attr.get()->guid, DISPID_UNKNOWN};
    std::wstring name(eventName);
    LPOLESTR names[] = {name.data()};
    hr = events->GetIDsOfNames(names, 1, &event.id);
    if (FAILED(hr)) {
        hr = EventBySignature(*events.get(), event.id);
    }
    if (SUCCEEDED(hr)) {
        found = event;
    }
    return hr;
}

HRESULT FindCallEvent(IUnknown& control, CallEvent& found) {
    ComPtr<IProvideClassInfo> provider;
    HRESULT hr = control.QueryInterface(IID_IProvideClassInfo, provider.putVoid());
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<ITypeInfo> coclass;
    hr = provider->GetClassInfo(coclass.put());
    if (FAILED(hr)) {
        return hr;
    }
    if (!coclass) {
        return E_POINTER;
    }
    return FindCallEventIn(*coclass.get(), kCallEventName, found);
}

}  // namespace kw::win32
