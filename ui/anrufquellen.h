#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/call_source_options.h"
#include "platform/message_box.h"
#include "platform/secret_store.h"
#include "platform/settings_store.h"

namespace kw::ui {

enum class SourceCheck { Steuerelement, KlingelwartRing, Router, SIP };
enum class SourceText {
    RouterHost,
    RouterPort,
    SIPServer,
    SIPBenutzer,
    SIPAuthName,
    SIPPasswort,
    SIPZertifikat
};

// The dialog that chooses the call sources, as its presenter sees it.
class AnrufquellenView {
  public:
    virtual ~AnrufquellenView() = default;

    virtual bool checked(SourceCheck box) = 0;
    virtual void setChecked(SourceCheck box, bool on) = 0;
    virtual std::string text(SourceText box) = 0;
    virtual void setText(SourceText box, std::string_view text) = 0;
    virtual void setTextEnabled(SourceText box, bool enabled) = 0;
    virtual void focus(SourceText box) = 0;
    virtual SipTransport transport() = 0;
    virtual void setTransport(SipTransport transport) = 0;
    virtual void setTransportEnabled(bool enabled) = 0;

    // Closes and unloads the dialog.
    virtual void close() = 0;
};

struct AnrufquellenPlatform {
    platform::SettingsStore& store;
    platform::MessageBox& messages;
    // False where the system has no phone control to host: its choice is neither shown nor
    // changed.
    bool hasPhoneControl = false;
    // Puts a stored choice into effect at once, without a restart.
    std::function<void(const CallSourceOptions&)> apply;
    // Where the SIP password is kept; absent where the system has no safe place for it.
    platform::SecretStore* secrets = nullptr;
};

// The call sources dialog's behaviour: load, the router and SIP check boxes, OK with its checks
// and writes, Cancel.
class Anrufquellen {
  public:
    Anrufquellen(AnrufquellenView& view, AnrufquellenPlatform& platform);

    void load();
    void routerClicked();  // CHK_Router
    void sipClicked();     // CHK_SIP
    void okClicked();      // OKButton, Enter
    void cancelClicked();  // CancelButton, Esc, the frame's close box

  private:
    void inform(std::string_view text);
    // Stores a typed password, or makes sure one is stored; false after telling the user why not.
    bool securePassword(const platform::SecretAccount& account);
    void refuseSip(const Failure& failure);

    AnrufquellenView& view_;
    AnrufquellenPlatform& platform_;
    CallSourceOptions loaded_;
};

}  // namespace kw::ui
