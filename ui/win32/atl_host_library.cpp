#include "ui/win32/atl_host_library.h"

namespace kw::winui {

namespace {

using WinInit = BOOL(WINAPI*)();

// Through a generic function pointer, as GetProcAddress returns an unrelated signature.
template <class Function>
Function Entry(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

std::optional<AtlHostLibrary> AtlHostLibrary::Load() {
    // Only the system's copy: a DLL of that name next to the program must not be picked up.
    HMODULE module = LoadLibraryExW(L"atl.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) {
        return std::nullopt;
    }
    // Pinned, because the window class it registers outlives every host and must never point
    // into an unloaded library; the pin makes our own reference redundant.
    HMODULE pinned = nullptr;
    const bool pinnedOk =
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCWSTR>(module), &pinned) != FALSE;
    const auto init = Entry<WinInit>(module, "AtlAxWinInit");
    const auto attach = Entry<AttachControl>(module, "AtlAxAttachControl");
    if (!pinnedOk) {
        FreeLibrary(module);
        return std::nullopt;
    }
    FreeLibrary(module);
    if (init == nullptr || attach == nullptr) {
        return std::nullopt;
    }
    // Wine's AtlAxWinInit fails once the class exists, so a second host judges by the class.
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (!init() && GetClassInfoExW(module, kWindowClass, &registered) == FALSE) {
        return std::nullopt;
    }
    return AtlHostLibrary(attach);
}

HRESULT AtlHostLibrary::attach(IUnknown* control, HWND box, IUnknown** container) const {
    return attach_(control, box, container);
}

}  // namespace kw::winui
