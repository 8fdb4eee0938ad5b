#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/optionen.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/dialog_key_filter.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/program_icon.h"

namespace kw::winui {

// The options dialog: two tab pages, three option groups that may show no selection, OK as the
// default button, Cancel on Esc and the close box. Every button goes to the Optionen presenter.
class Win32OptionenView final : public ModalDialog, public ui::OptionenView, private DialogKeys {
  public:
    // Called once the dialog and its controls exist, before the presenter's load; returns the
    // presenter for the dialog's events (it must outlive run()), or null for none. The dialog
    // window is the owner for the presenter's message boxes and file dialog.
    using Connect = std::function<ui::Optionen*(HWND dialog)>;

    Win32OptionenView() = default;

    // Runs the dialog modally and returns when it has closed.
    void run(HWND owner, Connect connect);

    std::string text(ui::OptionenText box) override;
    void setText(ui::OptionenText box, std::string_view text) override;
    void focus(ui::OptionenText box) override;
    ui::OptionenTab currentTab() override;
    void showTab(ui::OptionenTab tab) override;
    std::optional<int> choice(ui::OptionGroup group) override;
    void setChoice(ui::OptionGroup group, std::optional<int> value) override;
    void close() override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // Ctrl+Tab turns the pages, Alt and a tab caption's access key chooses that page.
    bool filterKey(const MSG& message) override;

    void initialise();
    void command(int id, int code);
    void showPage(int page);
    void switchPage(int page);
    void placeAll(int dpi);
    void keepTabStops();
    HWND control(std::string_view name) const;
    INT_PTR pageBackground(HDC context, HWND child) const;
    void printPage(HDC context);
    bool checked(std::string_view name) const;
    bool accessKeyChosen(wchar_t key);

    Connect connect_;
    ControlFonts fonts_;
    std::optional<LayoutControls> controls_;
    UniqueIcon icon_;
    ui::Optionen* presenter_ = nullptr;
    bool printingPage_ = false;
};

}  // namespace kw::winui
