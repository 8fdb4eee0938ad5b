#pragma once

#include <string>

#include "platform/help_viewer.h"
#include "platform/win32/windows_api.h"

namespace kw::win32 {

// Compiled help through HTML Help (hhctrl.ocx). The library is loaded at the first open() and
// kept for the viewer's lifetime, because the help window runs on its code; the destructor
// closes the help windows and then unloads it. Without hhctrl.ocx nothing happens.
class HtmlHelpViewer final : public platform::HelpViewer {
  public:
    // `owner` may be null: the help window then has no owner.
    explicit HtmlHelpViewer(HWND owner = nullptr) : owner_(owner) {}
    ~HtmlHelpViewer() override;

    HtmlHelpViewer(const HtmlHelpViewer&) = delete;
    HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;

    void open(const std::string& path) override;

    // Whether the HTML Help library was found (after the first open()).
    bool loaded() const { return htmlHelp_ != nullptr; }

  private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

    bool load();

    HWND owner_;
    HMODULE library_ = nullptr;
    HtmlHelpFunction htmlHelp_ = nullptr;
    bool tried_ = false;
};

}  // namespace kw::win32
