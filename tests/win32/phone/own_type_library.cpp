#include "tests/win32/phone/own_type_library.h"

#include <oleauto.h>

#include <string>

#include "platform/win32/com/com_ptr.h"

namespace kw::test::phone {

namespace {

std::wstring OwnPath() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&OwnPath), &module);
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

HRESULT OwnTypeInfo(REFGUID id, ITypeInfo** info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    *info = nullptr;
    win32::ComPtr<ITypeLib> library;
    // Unregistered on purpose: the tests must not leave a type library behind in the prefix.
    const HRESULT hr = LoadTypeLibEx(OwnPath().c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) {
        return hr;
    }
    return library->GetTypeInfoOfGuid(id, info);
}

}  // namespace kw::test::phone
