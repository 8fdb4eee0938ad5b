#pragma once

#include "platform/win32/windows_api.h"

#include <ocidl.h>

#include <map>
#include <string_view>

#include "platform/win32/com/com_ptr.h"
#include "tests/win32/com_object_base.h"

namespace kw::test::phone {

// The connection point of the substitute's call events: any number of sinks, each called with
// texts by reference that the substitute owns and checks afterwards.
class CallConnectionPoint final : public ComObjectBase<CallConnectionPoint, IConnectionPoint> {
  public:
    // `container` is not counted: its owner detaches it before it goes.
    explicit CallConnectionPoint(IConnectionPointContainer* container);
    ~CallConnectionPoint() = default;

    void detach() { container_ = nullptr; }

    // Rings every advised sink; the number of sinks called, -1 when there was none.
    long ring(std::wstring_view caller, std::wstring_view called);
    long untouchedRings() const { return untouched_; }
    long touchedRings() const { return touched_; }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* interfaceId) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

  private:
    IConnectionPointContainer* container_;
    std::map<DWORD, win32::ComPtr<IDispatch>> sinks_;
    DWORD nextCookie_ = 1;
    long untouched_ = 0;
    long touched_ = 0;
};

}  // namespace kw::test::phone
