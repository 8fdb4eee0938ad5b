#pragma once

#include "platform/win32/windows_api.h"

#include <oaidl.h>

namespace kw::test::phone {

// The type information of `id` from the type library embedded in the substitute's own DLL.
HRESULT OwnTypeInfo(REFGUID id, ITypeInfo** info);

}  // namespace kw::test::phone
