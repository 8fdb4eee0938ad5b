#include "ui/win32/phone_control_host.h"

#include <objbase.h>
#include <ocidl.h>
#include <oleidl.h>

#include <optional>
#include <string>
#include <utility>

#include "ui/win32/atl_host_library.h"
#include "ui/win32/crossed_phone_box.h"

namespace kw::winui {

namespace {

bool NotInstalled(HRESULT hr) {
    return hr == REGDB_E_CLASSNOTREG || hr == CO_E_CLASSSTRING;
}

}  // namespace

PhoneControlHost::PhoneControlHost(HWND parent, int controlId, const RECT& box,
                                   std::wstring_view progId) {
    host(parent, controlId, box, progId);
    if (!box_) {
        close();
        box_.reset(CrossedPhoneBox::Create(parent, controlId, box));
    }
}

PhoneControlHost::~PhoneControlHost() {
    close();
}

void PhoneControlHost::host(HWND parent, int controlId, const RECT& box, std::wstring_view progId) {
    const std::optional<AtlHostLibrary> atl = AtlHostLibrary::Load();
    if (!atl) {
        failure_ = win32::PhoneHostingFailure::kNoAtlHost;
        return;
    }
    // Resolved here, so that ATL never takes an unknown name for a web address.
    CLSID classId{};
    const std::wstring progIdText(progId);
    HRESULT hr = CLSIDFromProgID(progIdText.c_str(), &classId);
    if (SUCCEEDED(hr)) {
        hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IUnknown, control_.putVoid());
    }
    if (FAILED(hr) || !control_) {
        failure_ = NotInstalled(hr) ? win32::PhoneHostingFailure::kNotInstalled
                                    : win32::PhoneHostingFailure::kCannotStart;
        failureCode_ = hr;
        return;
    }
    Window window(CreateWindowExW(0, AtlHostLibrary::kWindowClass, L"",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, box.left, box.top,
                                  box.right - box.left, box.bottom - box.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                  GetModuleHandleW(nullptr), nullptr),
                  &DestroyWindow);
    hr = window ? atl->attach(control_.get(), window.get(), container_.put())
                : HRESULT_FROM_WIN32(GetLastError());
    if (FAILED(hr)) {
        failure_ = win32::PhoneHostingFailure::kCannotStart;
        failureCode_ = hr;
        container_.reset();
        return;
    }
    box_ = std::move(window);
}

void PhoneControlHost::handTo(win32::PhoneControlSource& source) {
    if (source_ != nullptr && source_ != &source) {
        source_->detach();
    }
    source_ = &source;
    if (hosted()) {
        source.attach(*control_.get());
    } else {
        source.hostingFailed(failure_, failureCode_);
    }
}

void PhoneControlHost::takeBack() noexcept {
    if (source_ != nullptr) {
        std::exchange(source_, nullptr)->detach();
    }
}

void PhoneControlHost::close() noexcept {
    // The call notification goes before the control: nothing may reach a closing host.
    if (source_ != nullptr) {
        std::exchange(source_, nullptr)->detach();
    }
    if (control_) {
        win32::ComPtr<IOleObject> object;
        if (SUCCEEDED(control_->QueryInterface(IID_IOleObject, object.putVoid())) && object) {
            object->Close(OLECLOSE_NOSAVE);
        }
    }
    box_.reset();
    container_.reset();
    control_.reset();
}

void PhoneControlHost::move(const RECT& box) {
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    SetWindowPos(box_.get(), nullptr, box.left, box.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The host window does not pass a new size on to every control by itself.
    win32::ComPtr<IOleInPlaceObject> inPlace;
    if (control_ && SUCCEEDED(control_->QueryInterface(IID_IOleInPlaceObject, inPlace.putVoid())) &&
        inPlace) {
        const RECT inside{0, 0, width, height};
        inPlace->SetObjectRects(&inside, &inside);
    }
}

}  // namespace kw::winui
