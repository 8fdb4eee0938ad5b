#include "platform/win32/com/dispatch_automation.h"

#include "platform/win32/windows_api.h"

#include <oaidl.h>
#include <objbase.h>

#include <new>
#include <string>
#include <utility>

#include "core/error_numbers.h"
#include "platform/win32/com/com_apartment.h"
#include "platform/win32/com/com_errors.h"
#include "platform/win32/com/com_ptr.h"
#include "platform/win32/com/dispatch_object.h"
#include "platform/win32/wide_text.h"

namespace kw::win32 {

namespace {

Result<std::unique_ptr<platform::AutomationObject>> Create(std::string_view progId) {
    // Declared before the object, so that COM outlives it on every way out of here.
    auto apartment = std::make_unique<ComApartment>();
    if (!apartment->ok()) {
        return MakeFailure(error::kCannotCreateObject);
    }
    const std::wstring name = Utf8ToWide(progId);
    if (name.find(L'\0') != std::wstring::npos) {  // the system would read only its first part
        return MakeFailure(error::kCannotCreateObject);
    }
    CLSID classId{};
    HRESULT hr = CLSIDFromProgID(name.c_str(), &classId);
    if (FAILED(hr)) {
        return CreationFailure(hr);
    }
    ComPtr<IDispatch> dispatch;
    hr = CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                          IID_IDispatch, dispatch.putVoid());
    if (FAILED(hr)) {
        return CreationFailure(hr);
    }
    if (!dispatch) {
        return MakeFailure(error::kCannotCreateObject);
    }
    return std::unique_ptr<platform::AutomationObject>(
        std::make_unique<DispatchObject>(std::move(apartment), std::move(dispatch)));
}

}  // namespace

Result<std::unique_ptr<platform::AutomationObject>> DispatchAutomation::create(
    std::string_view progId) {
    try {
        return Create(progId);
    } catch (const std::bad_alloc&) {
        return MakeFailure(error::kOutOfMemory);
    } catch (...) {
        return MakeFailure(error::kInternal);
    }
}

}  // namespace kw::win32
