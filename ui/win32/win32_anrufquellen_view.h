#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/anrufquellen.h"
#include "ui/win32/control_fonts.h"
#include "ui/win32/layout_controls.h"
#include "ui/win32/modal_dialog.h"
#include "ui/win32/program_icon.h"

namespace kw::winui {

// The call sources dialog: the phone control, klingelwart-ring and the router with its address.
// OK is the default button, Esc and the close box are Cancel; every click goes to the presenter.
// There is no SIP account here: its texts read empty and its transport is UDP.
class Win32AnrufquellenView final : public ModalDialog, public ui::AnrufquellenView {
  public:
    // As for the options dialog: returns the presenter for the events once the dialog exists.
    using Connect = std::function<ui::Anrufquellen*(HWND dialog)>;

    Win32AnrufquellenView() = default;

    void run(HWND owner, Connect connect);

    bool checked(ui::SourceCheck box) override;
    void setChecked(ui::SourceCheck box, bool on) override;
    std::string text(ui::SourceText box) override;
    void setText(ui::SourceText box, std::string_view text) override;
    void setTextEnabled(ui::SourceText box, bool enabled) override;
    void focus(ui::SourceText box) override;
    SipTransport transport() override { return SipTransport::Udp; }
    void setTransport(SipTransport) override {}
    void setTransportEnabled(bool) override {}
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
    ui::Anrufquellen* presenter_ = nullptr;
};

}  // namespace kw::winui
