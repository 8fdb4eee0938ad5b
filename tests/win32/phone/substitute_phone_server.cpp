// The entry points of the substitute phone control's DLL: class objects and its machine-wide
// registration under the softphone's ProgID.
#include "platform/win32/windows_api.h"

#include <objbase.h>

#include <memory>
#include <new>
#include <string>
#include <type_traits>

#include "tests/win32/phone/phone_class_factory.h"
#include "tests/win32/phone/substitute_phone_protocol.h"

namespace kw::test::phone {

namespace {

std::wstring ServerPath() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ServerPath), &module);
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

using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;

// Machine-wide, because Wine's COM does not look up classes registered per user.
HRESULT SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str(), 0,
                                     nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) {
        return HRESULT_FROM_WIN32(status);
    }
    const Key owner(handle, &RegCloseKey);
    status = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT DeleteKey(const std::wstring& key) {
    const LSTATUS status =
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK
                                                                     : HRESULT_FROM_WIN32(status);
}

// The class the ProgID names in the machine-wide registration, or an empty text.
std::wstring RegisteredClass() {
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    const LSTATUS status = RegGetValueW(
        HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + kProgId + L"\\CLSID").c_str(),
        nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return status == ERROR_SUCCESS ? std::wstring(value) : std::wstring();
}

// On a machine with the real softphone, the tests must not take its name away.
bool OwnedByOthers() {
    const std::wstring registered = RegisteredClass();
    return !registered.empty() &&
           CompareStringOrdinal(registered.c_str(), -1, kClassIdText, -1, TRUE) != CSTR_EQUAL;
}

}  // namespace

}  // namespace kw::test::phone

using namespace kw::test::phone;

STDAPI DllGetClassObject(REFCLSID classId, REFIID interfaceId, LPVOID* object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualCLSID(classId, kClassId)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new (std::nothrow) PhoneClassFactory();
    if (factory == nullptr) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = factory->QueryInterface(interfaceId, object);
    factory->Release();
    return hr;
}

// No module-wide object count is kept: the server stays loaded until the process ends, which
// also keeps its window class valid.
STDAPI DllCanUnloadNow() {
    return S_FALSE;
}

STDAPI DllRegisterServer() {
    if (OwnedByOthers()) {
        return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    }
    const std::wstring classKey = std::wstring(L"CLSID\\") + kClassIdText;
    const std::wstring progId = kProgId;
    const std::wstring values[][3] = {
        {classKey, L"", L"Klingelwart substitute phone control"},
        {classKey + L"\\InprocServer32", L"", ServerPath()},
        {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {classKey + L"\\ProgID", L"", progId},
        {classKey + L"\\Control", L"", L""},
        {progId, L"", L"Klingelwart substitute phone control"},
        {progId + L"\\CLSID", L"", kClassIdText},
    };
    for (const auto& value : values) {
        const HRESULT hr =
            SetValue(value[0], value[1].empty() ? nullptr : value[1].c_str(), value[2]);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return S_OK;
}

STDAPI DllUnregisterServer() {
    const HRESULT progId = OwnedByOthers() ? S_OK : DeleteKey(kProgId);
    const HRESULT classKey = DeleteKey(std::wstring(L"CLSID\\") + kClassIdText);
    return FAILED(progId) ? progId : classKey;
}
