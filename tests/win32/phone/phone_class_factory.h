#pragma once

#include "platform/win32/windows_api.h"

#include <unknwn.h>

#include "tests/win32/com_object_base.h"

namespace kw::test::phone {

// Makes substitute phone controls.
class PhoneClassFactory final : public ComObjectBase<PhoneClassFactory, IClassFactory> {
  public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID interfaceId,
                                             void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

}  // namespace kw::test::phone
