#include "ui/win32/program_icon.h"

#include "ui/win32/resource_ids.h"

namespace kw::winui {

UniqueIcon LoadProgramIcon(int pixels) {
    // Not LR_SHARED: the icon is owned here and destroyed with its window.
    return UniqueIcon(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId),
                                      IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR)));
}

}  // namespace kw::winui
