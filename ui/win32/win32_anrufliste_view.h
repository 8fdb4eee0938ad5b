#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/anrufliste.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/program_icon.h"

namespace kw::winui {

// The call list window: a report list view that asks for its rows' texts only when it draws
// them (20,000 calls would take long to insert), the filter and the buttons. Enter and a double
// click run the action, Del deletes, Esc and the close box close; all through the presenter.
class Win32AnruflisteView final : public ModalDialog, public ui::AnruflisteView {
  public:
    // Returns the presenter for the events once the dialog exists.
    using Connect = std::function<ui::Anrufliste*(HWND dialog)>;

    Win32AnruflisteView() = default;

    void run(HWND owner, Connect connect);

    void showRows(const std::vector<CallListRow>& rows) override;
    std::vector<std::size_t> selectedRows() override;
    bool onlyMissed() override;
    void close() override;

  protected:
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void initialise();
    void placeAll(int dpi);
    void command(int id, int code);
    void notify(const NMHDR& header);
    HWND list() const;

    Connect connect_;
    ControlFonts fonts_;
    std::optional<LayoutControls> controls_;
    UniqueIcon icon_;
    ui::Anrufliste* presenter_ = nullptr;
    std::vector<std::array<std::wstring, kCallListColumns.size()>> rows_;
};

}  // namespace kw::winui
