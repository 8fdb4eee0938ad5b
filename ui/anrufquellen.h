#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/call_source_options.h"
#include "platform/message_box.h"
#include "platform/secret_store.h"
#include "platform/settings_store.h"
#include "ui/anrufquellen_sources.h"

namespace kw::ui {

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
    // The sources this system offers, in the dialog's order; the choice of any other source is
    // neither shown nor changed.
    std::vector<SourceRow> sources;
    // Puts a stored choice into effect at once, without a restart.
    std::function<void(const CallSourceOptions&)> apply;
    // Where the SIP password is kept; absent where the system has no safe place for it.
    platform::SecretStore* secrets = nullptr;
};

// The call sources dialog's behaviour: load, a source's check box switching its texts, OK with
// its checks and writes, Cancel.
class Anrufquellen {
  public:
    Anrufquellen(AnrufquellenView& view, AnrufquellenPlatform& platform);

    void load();
    // Any check box; one that switches no source's texts is let be.
    void checkClicked(SourceCheck box);
    void okClicked();      // OKButton, Enter
    void cancelClicked();  // CancelButton, Esc, the frame's close box

  private:
    void showEnabled(const SourceRow& row);
    void inform(std::string_view text);
    // Stores a typed password, or makes sure one is stored; false after telling the user why not.
    bool securePassword(const platform::SecretAccount& account);
    void refuseSip(const Failure& failure);

    AnrufquellenView& view_;
    AnrufquellenPlatform& platform_;
    CallSourceOptions loaded_;
};

}  // namespace kw::ui
