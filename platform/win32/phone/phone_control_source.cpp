#include "platform/win32/phone/phone_control_source.h"

#include <cstdio>
#include <utility>

#include "platform/win32/com/com_errors.h"
#include "platform/win32/phone/call_event_lookup.h"
#include "platform/win32/phone/call_event_sink.h"
#include "platform/win32/wide_text.h"

namespace kw::win32 {

namespace {

constexpr char kNotReported[] = ": Anrufe werden nicht gemeldet.";

// The German description of a failed call, on one line, with its code.
std::string Reason(HRESULT hr) {
    std::string text = FailureFromHresult(hr).description;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, ": ");
    }
    char code[16] = {};
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return text + ", " + code;
}

}  // namespace

PhoneControlSource::PhoneControlSource(std::wstring_view progId)
    : progId_(progId),
      status_{false, "Das Telefon-Steuerelement " + WideToUtf8(progId_) + " fehlt im Hauptfenster" +
                         kNotReported} {}

PhoneControlSource::~PhoneControlSource() {
    detach();
}

void PhoneControlSource::attach(IUnknown& control) {
    detach();
    if (FAILED(control.QueryInterface(IID_IUnknown, control_.putVoid())) || !control_) {
        hostingFailed(PhoneHostingFailure::kCannotStart, E_NOINTERFACE);
        return;
    }
    if (started_) {
        connect();
    }
}

void PhoneControlSource::hostingFailed(PhoneHostingFailure failure, HRESULT hr) {
    detach();
    const std::string name = "Das Telefon-Steuerelement " + WideToUtf8(progId_);
    switch (failure) {
        case PhoneHostingFailure::kNoAtlHost:
            report(false, name + " kann nicht angezeigt werden, weil atl.dll fehlt" + kNotReported);
            break;
        case PhoneHostingFailure::kNotInstalled:
            report(false, name + " ist nicht installiert" + kNotReported);
            break;
        case PhoneHostingFailure::kCannotStart:
            report(false, name + " lässt sich nicht starten (" + Reason(hr) + ")" + kNotReported);
            break;
    }
}

void PhoneControlSource::detach() noexcept {
    connection_.reset();
    control_.reset();
}

void PhoneControlSource::start(CallHandler onCall, StatusHandler onStatus) {
    onCall_ = std::move(onCall);
    onStatus_ = std::move(onStatus);
    started_ = true;
    if (control_ && !connection_.connected()) {
        connect();
    } else {
        report(status_.receiving, status_.text);
    }
}

void PhoneControlSource::connect() {
    CallEvent event;
    HRESULT hr = FindCallEvent(*control_.get(), event);
    if (SUCCEEDED(hr)) {
        const ComPtr<IDispatch> sink =
            MakeCallEventSink(event, [this](std::string_view caller, std::string_view called) {
                if (onCall_) {
                    onCall_(caller, called);
                }
            });
        hr = EventConnection::Connect(*control_.get(), event.source, *sink.get(), connection_);
    }
    const std::string name = "Das Telefon-Steuerelement " + WideToUtf8(progId_);
    if (SUCCEEDED(hr)) {
        report(true, name + " ist bereit und meldet eingehende Anrufe.");
    } else {
        report(false, name + " läuft, aber seine Anrufmeldung lässt sich nicht verbinden (" +
                          Reason(hr) + ")" + kNotReported);
    }
}

void PhoneControlSource::report(bool receiving, std::string text) {
    status_ = {receiving, std::move(text)};
    if (started_ && onStatus_) {
        onStatus_(status_);
    }
}

}  // namespace kw::win32
