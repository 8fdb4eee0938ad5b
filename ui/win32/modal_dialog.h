#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/layout.h"

namespace kw::winui {

// A modal dialog from an in-memory template without controls: the subclass makes its controls
// in WM_INITDIALOG from a layout table. Handles the dialog procedure's plumbing only.
class ModalDialog {
  public:
    // A fixed frame with a close box and no minimize or maximize box.
    static constexpr DWORD kStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // The dialog window while it runs, else null.
    HWND window() const { return dialog_; }

    // The outer window rectangle whose client area lies at the layout's screen place (twips from
    // the monitor's corner) with the layout's size.
    static RECT WindowRectFor(const ui::WindowLayout& layout, POINT monitorOrigin, int dpi);

  protected:
    ModalDialog() = default;

    // Runs the dialog until end(); returns end's result, or -1 when it could not be made.
    INT_PTR runModal(HWND owner, std::wstring_view caption);
    void end(INT_PTR result);

    // The dialog procedure after WM_INITDIALOG has bound the window: TRUE when handled, with a
    // result in DWLP_MSGRESULT where the message needs one.
    virtual INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // Moves the dialog to the layout's screen place on its monitor, at the given DPI.
    void placeAtLayout(const ui::WindowLayout& layout, int dpi);

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HWND dialog_ = nullptr;
};

}  // namespace kw::winui
