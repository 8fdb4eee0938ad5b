#include "tests/win32/phone/phone_class_factory.h"

#include <new>

#include "tests/win32/phone/phone_control.h"

namespace kw::test::phone {

HRESULT PhoneClassFactory::CreateInstance(IUnknown* outer, REFIID interfaceId, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    auto* control = new (std::nothrow) PhoneControl();
    if (control == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = control->QueryInterface(interfaceId, object);
    control->Release();
    return hr;
}

HRESULT PhoneClassFactory::LockServer(BOOL) {
    return S_OK;
}

}  // namespace kw::test::phone
