#include "tests/win32/phone/own_type_library.h"

#include <oleauto.h>

#include "platform/win32/com/com_ptr.h"
#include "tests/win32/own_module.h"

namespace kw::test::phone {

HRESULT OwnTypeInfo(REFGUID id, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    win32::ComPtr<ITypeLib> library;
    // Unregistered on purpose: the tests must not leave a type library behind in the prefix.
    const HRESULT hr = LoadTypeLibEx(OwnModulePath().c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) {
        return hr;
    }
    return library->GetTypeInfoOfGuid(id, info);
}

}  // namespace kw::test::phone
