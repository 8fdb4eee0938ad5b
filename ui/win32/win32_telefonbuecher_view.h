#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/telefonbuecher.h"
#include "ui/win32/presenter_dialog.h"

namespace kw::winui {

// The phone books dialog. OK is the default button, Esc and the close box are Cancel; every
// click and change of the list's selection goes to the presenter.
class Win32TelefonbuecherView final
    : public PresenterDialog<ui::Telefonbuecher, ui::TelefonbuecherView> {
  public:
    Win32TelefonbuecherView();

    std::string text(ui::BookText box) override;
    void setText(ui::BookText box, std::string_view text) override;
    void focus(ui::BookText box) override;
    void setFiles(const std::vector<std::string>& files, int selected) override;
    int selectedFile() override;
    void setButtonEnabled(ui::BookButton button, bool enabled) override;
    void setStatus(std::string_view lines) override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void clicked(int id) override;
};

}  // namespace kw::winui
