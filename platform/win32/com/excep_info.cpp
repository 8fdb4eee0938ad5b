#include "platform/win32/com/excep_info.h"

#include "platform/win32/windows_api.h"

#include <oleauto.h>

namespace kw::win32 {

ExcepInfo::ExcepInfo() noexcept : info_{} {}

ExcepInfo::~ExcepInfo() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
}

const EXCEPINFO& ExcepInfo::filledIn() noexcept {
    if (auto fillIn = info_.pfnDeferredFillIn) {
        info_.pfnDeferredFillIn = nullptr;
        fillIn(&info_);
    }
    return info_;
}

}  // namespace kw::win32
