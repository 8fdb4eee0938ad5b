#pragma once

#include "platform/win32/windows_api.h"

#include <unknwn.h>

#include <new>

#include "tests/win32/com_object_base.h"

namespace kw::test {

// Makes `Product`s, which start with one reference of their own, as a substitute server's only
// class.
template <class Product>
class ClassFactory final : public ComObjectBase<ClassFactory<Product>, IClassFactory> {
  public:
    // DllGetClassObject of a server whose one class is `served`.
    static HRESULT Get(REFCLSID requested, REFCLSID served, REFIID interfaceId, void** object) {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (!IsEqualCLSID(requested, served)) {
            return CLASS_E_CLASSNOTAVAILABLE;
        }
        return Handed(new (std::nothrow) ClassFactory(), interfaceId, object);
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID interfaceId,
                                             void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        return Handed(new (std::nothrow) Product(), interfaceId, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  private:
    // Trades the creation's own reference for the one asked for.
    template <class Object>
    static HRESULT Handed(Object* created, REFIID interfaceId, void** object) {
        if (created == nullptr) {
            return E_OUTOFMEMORY;
        }
        const HRESULT hr = created->QueryInterface(interfaceId, object);
        created->Release();
        return hr;
    }
};

}  // namespace kw::test
