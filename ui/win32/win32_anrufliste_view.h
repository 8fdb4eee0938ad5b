#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/anrufliste.h"
#include "ui/win32/presenter_dialog.h"

namespace kw::winui {

// The call list window: a report list view that asks for its rows' texts only when it draws
// them (20,000 calls would take long to insert), the filter and the buttons. Enter and a double
// click run the action, Del deletes, Esc and the close box close; all through the presenter.
class Win32AnruflisteView final : public PresenterDialog<ui::Anrufliste, ui::AnruflisteView> {
  public:
    Win32AnruflisteView();

    void showRows(const std::vector<CallListRow>& rows) override;
    std::vector<std::size_t> selectedRows() override;
    bool onlyMissed() override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void made() override;
    void placed(int dpi) override;
    void clicked(int id) override;

  private:
    void notify(const NMHDR& header);
    HWND list() const;

    std::vector<std::array<std::wstring, kCallListColumns.size()>> rows_;
};

}  // namespace kw::winui
