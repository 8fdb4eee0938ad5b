#pragma once

#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "ui/anrufquellen.h"
#include "ui/win32/presenter_dialog.h"

namespace kw::winui {

// The call sources dialog: the phone control, klingelwart-ring and the router with its address.
// OK is the default button, Esc and the close box are Cancel; every click goes to the presenter.
// There is no SIP account here: its texts read empty and its transport is UDP.
class Win32AnrufquellenView final : public PresenterDialog<ui::Anrufquellen, ui::AnrufquellenView> {
  public:
    Win32AnrufquellenView();

    bool checked(ui::SourceCheck box) override;
    void setChecked(ui::SourceCheck box, bool on) override;
    std::string text(ui::SourceText box) override;
    void setText(ui::SourceText box, std::string_view text) override;
    void setTextEnabled(ui::SourceText box, bool enabled) override;
    void focus(ui::SourceText box) override;
    SipTransport transport() override { return SipTransport::Udp; }
    void setTransport(SipTransport) override {}
    void setTransportEnabled(bool) override {}

  protected:
    void clicked(int id) override;
};

}  // namespace kw::winui
