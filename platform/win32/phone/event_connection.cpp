#include "platform/win32/phone/event_connection.h"

#include <utility>

namespace kw::win32 {

EventConnection::~EventConnection() {
    reset();
}

EventConnection::EventConnection(EventConnection&& other) noexcept
    : point_(std::move(other.point_)), cookie_(std::exchange(other.cookie_, 0)) {}

EventConnection& EventConnection::operator=(EventConnection&& other) noexcept {
    if (this != &other) {
        reset();
        point_ = std::move(other.point_);
        cookie_ = std::exchange(other.cookie_, 0);
    }
    return *this;
}

HRESULT EventConnection::Connect(IUnknown& source, REFIID events, IUnknown& sink,
                                 EventConnection& connection) {
    ComPtr<IConnectionPointContainer> container;
    HRESULT hr = source.QueryInterface(IID_IConnectionPointContainer, container.putVoid());
    if (FAILED(hr)) {
        return hr;
    }
    EventConnection fresh;
    hr = container->FindConnectionPoint(events, fresh.point_.put());
    if (FAILED(hr)) {
        return hr;
    }
    if (!fresh.point_) {
        return E_POINTER;
    }
    hr = fresh.point_->Advise(&sink, &fresh.cookie_);
    if (FAILED(hr)) {
        fresh.point_.reset();
        return hr;
    }
    connection = std::move(fresh);
    return S_OK;
}

void EventConnection::reset() noexcept {
    // Taken out first: Unadvise may call back into a host that is being torn down.
    const ComPtr<IConnectionPoint> point = std::move(point_);
    if (point) {
        point->Unadvise(std::exchange(cookie_, 0));
    }
}

}  // namespace kw::win32
