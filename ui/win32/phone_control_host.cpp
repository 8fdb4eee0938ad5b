#include "ui/win32/phone_control_host.h"

#include <objbase.h>
#include <ocidl.h>
#include <oleidl.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "platform/win32/com/com_errors.h"
#include "platform/win32/wide_text.h"
#include "ui/win32/atl_host_library.h"
#include "ui/win32/call_event_lookup.h"
#include "ui/win32/call_event_sink.h"
#include "ui/win32/crossed_phone_box.h"

namespace kw::winui {

namespace {

constexpr char kNotReported[] = ": Anrufe werden nicht gemeldet.";

std::string ControlName(std::wstring_view progId) {
    return "Das Telefon-Steuerelement " + win32::WideToUtf8(progId);
}

// The German description of a failed call, on one line, with its code.
std::string Reason(HRESULT hr) {
    std::string text = win32::FailureFromHresult(hr).description;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, ": ");
    }
    char code[16] = {};
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return text + ", " + code;
}

bool NotInstalled(HRESULT hr) {
    return hr == REGDB_E_CLASSNOTREG || hr == CO_E_CLASSSTRING;
}

}  // namespace

PhoneControlHost::PhoneControlHost(HWND parent, int controlId, const RECT& box,
                                   std::wstring_view progId, CallHandler onCall) {
    host(parent, controlId, box, progId, std::move(onCall));
    if (!box_) {
        close();
        box_.reset(CrossedPhoneBox::Create(parent, controlId, box));
    }
}

PhoneControlHost::~PhoneControlHost() {
    close();
}

void PhoneControlHost::host(HWND parent, int controlId, const RECT& box, std::wstring_view progId,
                            CallHandler onCall) {
    const std::string name = ControlName(progId);
    const std::optional<AtlHostLibrary> atl = AtlHostLibrary::Load();
    if (!atl) {
        status_ = name + " kann nicht angezeigt werden, weil atl.dll fehlt" + kNotReported;
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
        status_ = NotInstalled(hr)
                      ? name + " ist nicht installiert" + kNotReported
                      : name + " lässt sich nicht starten (" + Reason(hr) + ")" + kNotReported;
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
        status_ = name + " lässt sich nicht starten (" + Reason(hr) + ")" + kNotReported;
        return;
    }
    box_ = std::move(window);

    CallEvent event;
    hr = FindCallEvent(*control_.get(), event);
    if (SUCCEEDED(hr)) {
        const win32::ComPtr<IDispatch> sink = MakeCallEventSink(event, std::move(onCall));
        hr = EventConnection::Connect(*control_.get(), event.source, *sink.get(), connection_);
    }
    status_ = SUCCEEDED(hr)
                  ? name + " ist bereit und meldet eingehende Anrufe."
                  : name + " läuft, aber seine Anrufmeldung lässt sich nicht verbinden (" +
                        Reason(hr) + ")" + kNotReported;
}

void PhoneControlHost::close() noexcept {
    connection_.reset();
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
