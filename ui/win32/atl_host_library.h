#pragma once

#include "platform/win32/windows_api.h"

#include <unknwn.h>

#include <optional>

namespace kw::winui {

// The system's ActiveX host (atl.dll): its "AtlAxWin" window class and the call that puts a
// control we created ourselves into such a window. Looked up at run time because mingw has no
// import library for it.
class AtlHostLibrary {
  public:
    // Loads atl.dll from the system directory and registers its window class; empty when the
    // library or one of its entry points is missing.
    static std::optional<AtlHostLibrary> Load();

    // Hosts `control` in `box`, a window of class kWindowClass; `container` receives the host
    // object that ATL made for it.
    HRESULT attach(IUnknown* control, HWND box, IUnknown** container) const;

    static constexpr wchar_t kWindowClass[] = L"AtlAxWin";

  private:
    using AttachControl = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);

    explicit AtlHostLibrary(AttachControl attachControl) : attach_(attachControl) {}

    AttachControl attach_;
};

}  // namespace kw::winui
