#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/optionen.h"
#include "ui/win32/dialog_key_filter.h"
#include "ui/win32/presenter_dialog.h"

namespace kw::winui {

// The options dialog: two tab pages, three option groups that may show no selection, OK as the
// default button, Cancel on Esc and the close box. Every button goes to the Optionen presenter.
class Win32OptionenView final : public PresenterDialog<ui::Optionen, ui::OptionenView>,
                                private DialogKeys {
  public:
    Win32OptionenView();

    // Runs the dialog modally, its keys seen first, and returns when it has closed.
    void run(HWND owner, Connect connect);

    std::string text(ui::OptionenText box) override;
    void setText(ui::OptionenText box, std::string_view text) override;
    void focus(ui::OptionenText box) override;
    ui::OptionenTab currentTab() override;
    void showTab(ui::OptionenTab tab) override;
    std::optional<int> choice(ui::OptionGroup group) override;
    void setChoice(ui::OptionGroup group, std::optional<int> value) override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void made() override;
    void placed(int dpi) override;
    void clicked(int id) override;

  private:
    // Ctrl+Tab turns the pages, Alt and a tab caption's access key chooses that page.
    bool filterKey(const MSG& message) override;

    void showPage(int page);
    void switchPage(int page);
    void keepTabStops();
    INT_PTR pageBackground(HDC context, HWND child) const;
    void printPage(HDC context);
    bool checked(std::string_view name) const;
    bool accessKeyChosen(wchar_t key);

    bool printingPage_ = false;
};

}  // namespace kw::winui
