#pragma once

#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/info.h"
#include "ui/win32/presenter_dialog.h"
#include "ui/win32/program_icon.h"

namespace kw::winui {

// The about dialog: icon, title, version, description, disclaimer and the etched line. OK,
// Enter, Esc and the close box all go to the Info presenter.
class Win32InfoView final : public PresenterDialog<ui::Info, ui::InfoView> {
  public:
    Win32InfoView();

    void setCaption(std::string_view text) override;
    void setVersionText(std::string_view text) override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void made() override;
    void placed(int dpi) override;

  private:
    // The etched line; WM_PRINTCLIENT draws it too, for snapshots of the dialog.
    void paintLine(HDC dc) const;

    UniqueIcon largeIcon_;
    int dpi_ = 96;
};

}  // namespace kw::winui
