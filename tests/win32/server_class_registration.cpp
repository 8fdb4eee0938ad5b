#include "tests/win32/server_class_registration.h"

#include <memory>
#include <type_traits>
#include <vector>

namespace kw::test {

namespace {

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

// The class a ProgID names in the machine-wide registration, or an empty text.
std::wstring RegisteredClass(const std::wstring& progId) {
    wchar_t value[64] = {};
    DWORD size = sizeof value;
    const LSTATUS status =
        RegGetValueW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + progId + L"\\CLSID").c_str(),
                     nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
    return status == ERROR_SUCCESS ? std::wstring(value) : std::wstring();
}

bool OwnedByOthers(const std::wstring& progId, const std::wstring& classId) {
    const std::wstring registered = RegisteredClass(progId);
    return !registered.empty() &&
           CompareStringOrdinal(registered.c_str(), -1, classId.c_str(), -1, TRUE) != CSTR_EQUAL;
}

struct Value {
    std::wstring key;
    std::wstring name;  // empty for the key's default value
    std::wstring text;
};

}  // namespace

HRESULT RegisterServerClass(const ServerClass& server) {
    if (OwnedByOthers(server.progId, server.classId)) {
        return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    }
    const std::wstring classKey = L"CLSID\\" + server.classId;
    std::vector<Value> values = {
        {classKey, L"", server.description},
        {classKey + L"\\InprocServer32", L"", server.serverPath},
        {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {classKey + L"\\ProgID", L"", server.progId},
        {server.progId + L"\\CLSID", L"", server.classId},
    };
    if (server.control) {
        values.push_back({classKey + L"\\Control", L"", L""});
        values.push_back({server.progId, L"", server.description});
    }
    for (const Value& value : values) {
        const HRESULT hr =
            SetValue(value.key, value.name.empty() ? nullptr : value.name.c_str(), value.text);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return S_OK;
}

HRESULT UnregisterServerClass(const std::wstring& progId, const std::wstring& classId) {
    const HRESULT progIdRemoved = OwnedByOthers(progId, classId) ? S_OK : DeleteKey(progId);
    const HRESULT classRemoved = DeleteKey(L"CLSID\\" + classId);
    return FAILED(progIdRemoved) ? progIdRemoved : classRemoved;
}

}  // namespace kw::test
