#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/layout.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/program_icon.h"

namespace kw::winui {

// What a dialog is made of.
struct DialogTable {
    const ui::WindowLayout& window;  // caption, screen place and client size
    std::span<const ui::ControlLayout> controls;
    int defaultButton;                                   // the id Enter presses
    std::span<const std::string_view> plainLabels = {};  // labels whose "&" is shown as it is
};

// A modal dialog from an in-memory template, its controls made from its layout table in
// WM_INITDIALOG: placed at the window's DPI (again when it changes), the program's small icon,
// the default button, the focus on the first tab stop. OK and Enter go to ok(); Cancel, Esc and
// the close box to cancel(); every other button to clicked().
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
    explicit ModalDialog(const DialogTable& table) : table_(table) {}

    // Runs the dialog until end(); returns end's result, or -1 when it could not be made.
    INT_PTR runModal(HWND owner);
    void end(INT_PTR result);

    // The dialog procedure after WM_INITDIALOG has bound the window: TRUE when handled, with a
    // result in DWLP_MSGRESULT where the message needs one. An override passes on what it leaves.
    virtual INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);

    // The controls are made, not yet placed.
    virtual void made() {}
    // After every placing, at the DPI given.
    virtual void placed(int /*dpi*/) {}
    // The last step of WM_INITDIALOG.
    virtual void initialised() {}
    virtual void ok() = 0;
    virtual void cancel() = 0;
    virtual void clicked(int /*id*/) {}

    // Null for a name that is empty or not in the table, and while the dialog does not run.
    HWND control(std::string_view name) const;
    const LayoutControls* controls() const { return controls_ ? &*controls_ : nullptr; }

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    void initialise();
    void place(int dpi);
    void command(int id, int code);

    DialogTable table_;
    HWND dialog_ = nullptr;
    ControlFonts fonts_;  // outlives the controls that use it
    std::optional<LayoutControls> controls_;
    UniqueIcon icon_;
};

}  // namespace kw::winui
