// The substitute database application: an in-process automation server that implements IDispatch
// by hand, records every call into the log file named by the environment and misbehaves on
// request (see substitute_protocol.h).
#include "platform/win32/windows_api.h"

#include <oleauto.h>
#include <olectl.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "tests/win32/automation/substitute_log.h"
#include "tests/win32/automation/substitute_protocol.h"
#include "tests/win32/class_factory.h"
#include "tests/win32/own_module.h"
#include "tests/win32/server_class_registration.h"

namespace kw::test::substitute {

namespace {

std::wstring Environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

std::string Utf8(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

long Number(const wchar_t* name, long fallback) {
    const std::wstring text = Environment(name);
    if (text.empty()) {
        return fallback;
    }
    return static_cast<long>(std::wcstoul(text.c_str(), nullptr, 0));
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool Forgotten(std::wstring_view name) {
    const std::wstring list = Environment(variable::kForget);
    std::wstring_view rest = list;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(L',');
        if (SameName(rest.substr(0, comma), name)) {
            return true;
        }
        rest.remove_prefix(comma == std::wstring_view::npos ? rest.size() : comma + 1);
    }
    return false;
}

void Log(const std::vector<std::string>& fields) {
    const std::wstring path = Environment(variable::kLog);
    if (path.empty()) {
        return;
    }
    const win32::UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    const std::string line = JoinRecord(fields);
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

struct Member {
    DISPID id;
    std::wstring_view name;
    std::array<std::wstring_view, 3> arguments;  // the dispid of a named argument is its index
};

constexpr Member kMembers[] = {
    {kOpenCurrentDatabaseId, L"OpenCurrentDatabase", {L"filepath", L"Exclusive", L"bstrPassword"}},
    {kRunId, L"Run", {}},
    {kQuitId, L"Quit", {}},
};

const Member* FindMember(std::wstring_view name) {
    for (const Member& member : kMembers) {
        if (SameName(member.name, name)) {
            return &member;
        }
    }
    return nullptr;
}

const Member* FindMember(DISPID id) {
    for (const Member& member : kMembers) {
        if (member.id == id) {
            return &member;
        }
    }
    return nullptr;
}

// Completes an exception record from the environment; also used as the deferred fill-in.
HRESULT STDAPICALLTYPE FillException(EXCEPINFO* info) {
    info->wCode = static_cast<WORD>(Number(variable::kFailCode, 0));
    info->scode = static_cast<SCODE>(Number(variable::kFailScode, 0));
    const std::wstring description = Environment(variable::kFailDescription);
    info->bstrSource = SysAllocString(L"Substitute.Access");
    info->bstrDescription =
        description.empty()
            ? nullptr
            : SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
    return S_OK;
}

std::string DescribeValue(const VARIANT& value) {
    if (value.vt == (VT_BYREF | VT_BSTR)) {
        const BSTR text = *value.pbstrVal;
        return text == nullptr ? std::string() : Utf8({text, SysStringLen(text)});
    }
    if (value.vt == VT_BOOL) {
        if (value.boolVal == VARIANT_TRUE) {
            return "VARIANT_TRUE";
        }
        if (value.boolVal == VARIANT_FALSE) {
            return "VARIANT_FALSE";
        }
        return std::to_string(value.boolVal);
    }
    return "?";
}

class Application final : public IDispatch {
  public:
    Application() { Log({"create", id()}); }
    // Records whether COM was still initialised on the releasing thread, as a client must keep it.
    ~Application() {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        const bool initialised = SUCCEEDED(CoGetApartmentType(&type, &qualifier));
        Log({"release", id(), initialised ? "initialised" : "uninitialised"});
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID interfaceId, LPOLESTR* names, UINT count,
                                            LCID locale, DISPID* ids) override {
        std::vector<std::string> record{"names", id(), std::to_string(locale)};
        for (UINT i = 0; i < count; ++i) {
            record.push_back(Utf8(names[i]));
        }
        Log(record);
        if (!IsEqualIID(interfaceId, IID_NULL)) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        if (count == 0) {
            return S_OK;
        }
        const Member* member = Forgotten(names[0]) ? nullptr : FindMember(names[0]);
        bool allKnown = member != nullptr;
        ids[0] = member != nullptr ? member->id : DISPID_UNKNOWN;
        for (UINT i = 1; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            if (member == nullptr || Forgotten(names[i])) {
                allKnown = false;
                continue;
            }
            for (std::size_t a = 0; a < member->arguments.size(); ++a) {
                if (!member->arguments[a].empty() && SameName(member->arguments[a], names[i])) {
                    ids[i] = static_cast<DISPID>(a);
                }
            }
            allKnown = allKnown && ids[i] != DISPID_UNKNOWN;
        }
        return allKnown ? S_OK : DISP_E_UNKNOWNNAME;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID interfaceId, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        const HRESULT hr =
            Call(member, interfaceId, locale, flags, parameters, result, exception, argumentError);
        Log({"result", id(), std::to_string(hr)});
        return hr;
    }

  private:
    HRESULT Call(DISPID memberId, REFIID interfaceId, LCID locale, WORD flags,
                 DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception, UINT*) {
        if (parameters == nullptr) {
            return E_POINTER;
        }
        Log({"invoke", id(), std::to_string(memberId), std::to_string(flags),
             std::to_string(parameters->cArgs), std::to_string(parameters->cNamedArgs),
             std::to_string(locale), result != nullptr ? "1" : "0",
             exception != nullptr ? "1" : "0"});
        for (UINT i = 0; i < parameters->cArgs; ++i) {
            const bool named = i < parameters->cNamedArgs;
            Log({"arg", id(), std::to_string(i), std::to_string(parameters->rgvarg[i].vt),
                 named ? std::to_string(parameters->rgdispidNamedArgs[i]) : std::string("-"),
                 DescribeValue(parameters->rgvarg[i])});
        }
        if (!IsEqualIID(interfaceId, IID_NULL)) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        const Member* member = FindMember(memberId);
        if (member == nullptr) {
            return DISP_E_MEMBERNOTFOUND;
        }
        WriteBack(*member, *parameters);
        if (!SameName(Environment(variable::kFailMember), member->name)) {
            return S_OK;
        }
        const auto hr = static_cast<HRESULT>(Number(variable::kFailHresult, DISP_E_EXCEPTION));
        if (hr == DISP_E_EXCEPTION && exception != nullptr) {
            *exception = EXCEPINFO{};
            if (Number(variable::kFailDeferred, 0) == 1) {
                exception->pfnDeferredFillIn = &FillException;
            } else {
                FillException(exception);
            }
        }
        return hr;
    }

    // Replaces a text the way a server does: frees the caller's BSTR and stores a new one.
    static void WriteBack(const Member& member, DISPPARAMS& parameters) {
        const std::wstring text = Environment(variable::kWriteText);
        const std::wstring target = Environment(variable::kWriteMember);
        if (text.empty() || !SameName(target.empty() ? L"Run" : target, member.name)) {
            return;
        }
        std::vector<VARIANT*> references;
        for (UINT i = parameters.cArgs; i-- > parameters.cNamedArgs;) {
            references.push_back(&parameters.rgvarg[i]);
        }
        for (UINT i = 0; i < parameters.cNamedArgs; ++i) {
            references.push_back(&parameters.rgvarg[i]);
        }
        long wanted = Number(variable::kWriteIndex, 0);
        for (VARIANT* reference : references) {
            if (reference->vt == (VT_BYREF | VT_BSTR) && wanted-- == 0) {
                SysFreeString(*reference->pbstrVal);
                *reference->pbstrVal =
                    SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
                return;
            }
        }
    }

    std::string id() const { return std::to_string(reinterpret_cast<std::uintptr_t>(this)); }

    std::atomic<ULONG> references_{1};
};

}  // namespace

}  // namespace kw::test::substitute

using namespace kw::test::substitute;

STDAPI DllGetClassObject(REFCLSID classId, REFIID interfaceId, LPVOID* object) {
    return kw::test::ClassFactory<Application>::Get(classId, kClassId, interfaceId, object);
}

// No module-wide object count is kept: the server stays loaded until the process ends.
STDAPI DllCanUnloadNow() {
    return S_FALSE;
}

STDAPI DllRegisterServer() {
    const std::wstring path = kw::test::OwnModulePath();
    const std::wstring directory = path.substr(0, path.find_last_of(L"\\/") + 1);
    const wchar_t description[] = L"Klingelwart substitute automation server";
    const HRESULT hr = kw::test::RegisterServerClass({.progId = kProgId,
                                                      .classId = kClassIdText,
                                                      .serverPath = path,
                                                      .description = description});
    if (FAILED(hr)) {
        return hr;
    }
    return kw::test::RegisterServerClass({.progId = kOrphanProgId,
                                          .classId = kOrphanClassIdText,
                                          .serverPath = directory + kOrphanServerFile,
                                          .description = description});
}

STDAPI DllUnregisterServer() {
    HRESULT result = S_OK;
    for (const HRESULT hr : {kw::test::UnregisterServerClass(kProgId, kClassIdText),
                             kw::test::UnregisterServerClass(kOrphanProgId, kOrphanClassIdText)}) {
        result = FAILED(hr) ? hr : result;
    }
    return result;
}
