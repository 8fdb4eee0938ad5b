#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/info.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/program_icon.h"

namespace kw::winui {

// The about dialog: icon, title, version, description, disclaimer and the etched line. OK,
// Enter, Esc and the close box all go to the Info presenter.
class Win32InfoView final : public ModalDialog, public ui::InfoView {
  public:
    // As for the options dialog: returns the presenter for the events once the dialog exists.
    using Connect = std::function<ui::Info*(HWND dialog)>;

    Win32InfoView() = default;

    void run(HWND owner, Connect connect);

    void setCaption(std::string_view text) override;
    void setVersionText(std::string_view text) override;
    void close() override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void initialise();
    void placeAll(int dpi);
    void okClicked();
    // The etched line; WM_PRINTCLIENT draws it too, for snapshots of the dialog.
    void paintLine(HDC dc) const;

    Connect connect_;
    ControlFonts fonts_;
    std::optional<LayoutControls> controls_;
    UniqueIcon smallIcon_;
    UniqueIcon largeIcon_;
    int dpi_ = 96;
    ui::Info* presenter_ = nullptr;
};

}  // namespace kw::winui
