#include "tests/win32/phone/phone_control.h"

#include <oleauto.h>
#include <olectl.h>

#include "tests/win32/phone/own_type_library.h"
#include "tests/win32/phone/phone_window.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::test::phone {

namespace {

// The control's own dispinterface (DPhone in substitute_phone.idl).
constexpr IID kControlInterfaceId = {
    0xc1c6e463, 0x8231, 0x464b, {0xb2, 0x3e, 0xe2, 0x97, 0x29, 0x7a, 0x71, 0x3f}};
constexpr DISPID kVersionId = 1;
constexpr wchar_t kVersion[] = L"1.0";

}  // namespace

PhoneControl::PhoneControl() {
    *calls_.put() = new CallConnectionPoint(this);
}

PhoneControl::~PhoneControl() {
    deactivate();
    calls_->detach();
}

HRESULT PhoneControl::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 1;
    return S_OK;
}

HRESULT PhoneControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    return index == 0 ? OwnTypeInfo(kControlInterfaceId, info) : DISP_E_BADINDEX;
}

HRESULT PhoneControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    win32::ComPtr<ITypeInfo> info;
    const HRESULT hr = OwnTypeInfo(kControlInterfaceId, info.put());
    return FAILED(hr) ? hr : DispGetIDsOfNames(info.get(), names, count, ids);
}

HRESULT PhoneControl::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                             EXCEPINFO*, UINT*) {
    if (member != kVersionId || (flags & DISPATCH_METHOD) == 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (result != nullptr) {
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(kVersion);
    }
    return S_OK;
}

HRESULT PhoneControl::SetClientSite(IOleClientSite* site) {
    if (site != nullptr) {
        site->AddRef();
    }
    win32::ComPtr<IOleClientSite> previous = std::move(site_);
    *site_.put() = site;
    return S_OK;
}

HRESULT PhoneControl::GetClientSite(IOleClientSite** site) {
    if (site == nullptr) {
        return E_POINTER;
    }
    *site = site_.get();
    if (*site != nullptr) {
        (*site)->AddRef();
    }
    return S_OK;
}

HRESULT PhoneControl::SetHostNames(LPCOLESTR, LPCOLESTR) {
    return S_OK;
}

HRESULT PhoneControl::Close(DWORD) {
    // Kept alive: the site may hold the last other reference.
    AddRef();
    deactivate();
    site_.reset();
    Release();
    return S_OK;
}

HRESULT PhoneControl::SetMoniker(DWORD, IMoniker*) {
    return E_NOTIMPL;
}

HRESULT PhoneControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT PhoneControl::InitFromData(IDataObject*, BOOL, DWORD) {
    return E_NOTIMPL;
}

HRESULT PhoneControl::GetClipboardData(DWORD, IDataObject** data) {
    if (data != nullptr) {
        *data = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT PhoneControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                             LPCRECT box) {
    switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_OPEN:
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_UIACTIVATE:
            return activate(site, parent, box);
        case OLEIVERB_HIDE:
            if (window_) {
                ShowWindow(window_.get(), SW_HIDE);
            }
            return S_OK;
        default:
            return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT PhoneControl::activate(IOleClientSite* site, HWND parent, LPCRECT box) {
    if (window_) {
        if (box != nullptr) {
            SetObjectRects(box, box);
        }
        ShowWindow(window_.get(), SW_SHOW);
        return S_OK;
    }
    IOleClientSite* const from = site != nullptr ? site : site_.get();
    win32::ComPtr<IOleInPlaceSite> inPlace;
    if (from != nullptr) {
        from->QueryInterface(IID_IOleInPlaceSite, inPlace.putVoid());
    }
    if (parent == nullptr && inPlace) {
        inPlace->GetWindow(&parent);
    }
    if (parent == nullptr) {
        return E_INVALIDARG;
    }
    RECT area{};
    if (box != nullptr) {
        area = *box;
    } else {
        GetClientRect(parent, &area);
    }
    window_.reset(PhoneWindow::Create(parent, area, calls_.get()));
    if (!window_) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    if (inPlace) {
        inPlace->OnInPlaceActivate();
        inPlaceSite_ = std::move(inPlace);
    }
    return S_OK;
}

void PhoneControl::deactivate() {
    window_.reset();
    // Taken out first: the site may call back into this control.
    const win32::ComPtr<IOleInPlaceSite> inPlace = std::move(inPlaceSite_);
    if (inPlace) {
        inPlace->OnInPlaceDeactivate();
    }
}

HRESULT PhoneControl::EnumVerbs(IEnumOLEVERB** verbs) {
    if (verbs != nullptr) {
        *verbs = nullptr;
    }
    return OLE_S_USEREG;
}

HRESULT PhoneControl::Update() {
    return S_OK;
}

HRESULT PhoneControl::IsUpToDate() {
    return S_OK;
}

HRESULT PhoneControl::GetUserClassID(CLSID* classId) {
    if (classId == nullptr) {
        return E_POINTER;
    }
    *classId = kClassId;
    return S_OK;
}

HRESULT PhoneControl::GetUserType(DWORD, LPOLESTR* type) {
    if (type != nullptr) {
        *type = nullptr;
    }
    return OLE_S_USEREG;
}

HRESULT PhoneControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (size == nullptr) {
        return E_POINTER;
    }
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    extent_ = *size;
    return S_OK;
}

HRESULT PhoneControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (size == nullptr) {
        return E_POINTER;
    }
    if (aspect != DVASPECT_CONTENT) {
        return DV_E_DVASPECT;
    }
    *size = extent_;
    return S_OK;
}

HRESULT PhoneControl::Advise(IAdviseSink*, DWORD* connection) {
    if (connection != nullptr) {
        *connection = 0;
    }
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT PhoneControl::Unadvise(DWORD) {
    return OLE_E_NOCONNECTION;
}

HRESULT PhoneControl::EnumAdvise(IEnumSTATDATA** advise) {
    if (advise != nullptr) {
        *advise = nullptr;
    }
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT PhoneControl::GetMiscStatus(DWORD, DWORD* status) {
    if (status == nullptr) {
        return E_POINTER;
    }
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
              OLEMISC_SETCLIENTSITEFIRST | OLEMISC_CANTLINKINSIDE;
    return S_OK;
}

HRESULT PhoneControl::SetColorScheme(LOGPALETTE*) {
    return E_NOTIMPL;
}

HRESULT PhoneControl::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = window_.get();
    return window_ ? S_OK : E_FAIL;
}

HRESULT PhoneControl::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

HRESULT PhoneControl::InPlaceDeactivate() {
    deactivate();
    return S_OK;
}

HRESULT PhoneControl::UIDeactivate() {
    return S_OK;
}

HRESULT PhoneControl::SetObjectRects(LPCRECT position, LPCRECT) {
    if (position == nullptr) {
        return E_POINTER;
    }
    if (window_) {
        MoveWindow(window_.get(), position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    }
    return S_OK;
}

HRESULT PhoneControl::ReactivateAndUndo() {
    return E_NOTIMPL;
}

HRESULT PhoneControl::GetClassInfo(ITypeInfo** info) {
    return OwnTypeInfo(kClassId, info);
}

HRESULT PhoneControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points != nullptr) {
        *points = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT PhoneControl::FindConnectionPoint(REFIID interfaceId, IConnectionPoint** point) {
    if (point == nullptr) {
        return E_POINTER;
    }
    *point = nullptr;
    if (!IsEqualIID(interfaceId, kEventsId)) {
        return CONNECT_E_NOCONNECTION;
    }
    *point = calls_.get();
    (*point)->AddRef();
    return S_OK;
}

void* PhoneControl::alsoAnswers(REFIID interfaceId) {
    if (IsEqualIID(interfaceId, IID_IOleWindow)) {
        return static_cast<IOleWindow*>(static_cast<IOleInPlaceObject*>(this));
    }
    if (IsEqualIID(interfaceId, kControlInterfaceId)) {
        return static_cast<IDispatch*>(this);
    }
    return nullptr;
}

}  // namespace kw::test::phone
