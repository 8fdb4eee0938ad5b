#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/telefonbuecher.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/program_icon.h"

namespace kw::winui {

// The phone books dialog. OK is the default button, Esc and the close box are Cancel; every
// click and change of the list's selection goes to the presenter.
class Win32TelefonbuecherView final : public ModalDialog, public ui::TelefonbuecherView {
  public:
    // As for the options dialog: returns the presenter for the events once the dialog exists.
    using Connect = std::function<ui::Telefonbuecher*(HWND dialog)>;

    Win32TelefonbuecherView() = default;

    void run(HWND owner, Connect connect);

    std::string text(ui::BookText box) override;
    void setText(ui::BookText box, std::string_view text) override;
    void focus(ui::BookText box) override;
    void setFiles(const std::vector<std::string>& files, int selected) override;
    int selectedFile() override;
    void setButtonEnabled(ui::BookButton button, bool enabled) override;
    void setStatus(std::string_view lines) override;
    void close() override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void initialise();
    void placeAll(int dpi);
    void command(int id, int code);
    HWND control(std::string_view name) const;

    Connect connect_;
    ControlFonts fonts_;
    std::optional<LayoutControls> controls_;
    UniqueIcon icon_;
    ui::Telefonbuecher* presenter_ = nullptr;
};

}  // namespace kw::winui
