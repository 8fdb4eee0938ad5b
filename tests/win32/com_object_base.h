#pragma once

#include "platform/win32/windows_api.h"

#include <unknwn.h>

#include <tuple>

namespace kw::test {

// IUnknown for a test COM object `Derived` that implements `Interfaces`; the first of them
// stands for IUnknown. Counted on one thread, deleted as `Derived` by its last Release.
template <class Derived, class... Interfaces>
class ComObjectBase : public Interfaces... {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = find(interfaceId);
        if (*object == nullptr) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete static_cast<Derived*>(this);
        }
        return left;
    }

  protected:
    ComObjectBase() = default;
    ~ComObjectBase() = default;
    ComObjectBase(const ComObjectBase&) = delete;
    ComObjectBase& operator=(const ComObjectBase&) = delete;

    // Interfaces answered beyond `Interfaces`, such as their bases.
    virtual void* alsoAnswers(REFIID) { return nullptr; }

  private:
    using Primary = std::tuple_element_t<0, std::tuple<Interfaces...>>;

    void* find(REFIID interfaceId) {
        if (IsEqualIID(interfaceId, IID_IUnknown)) {
            return static_cast<Primary*>(this);
        }
        void* found = nullptr;
        ((found = found == nullptr && IsEqualIID(interfaceId, __uuidof(Interfaces))
                      ? static_cast<void*>(static_cast<Interfaces*>(this))
                      : found),
         ...);
        return found != nullptr ? found : alsoAnswers(interfaceId);
    }

    ULONG references_ = 1;
};

}  // namespace kw::test
