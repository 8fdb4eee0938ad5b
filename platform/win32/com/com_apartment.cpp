#include "platform/win32/com/com_apartment.h"

#include "platform/win32/windows_api.h"

#include <objbase.h>

namespace kw::win32 {

ComApartment::ComApartment() noexcept {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (SUCCEEDED(hr)) {  // S_OK or S_FALSE: both must be balanced by CoUninitialize.
        usable_ = true;
        mustUninitialize_ = true;
    } else if (hr == RPC_E_CHANGED_MODE) {
        usable_ = true;  // Already initialised with another model; not ours to undo.
    }
}

ComApartment::~ComApartment() {
    if (mustUninitialize_) {
        CoUninitialize();
    }
}

}  // namespace kw::win32
