#pragma once

#include <functional>

#include "core/display_options.h"
#include "platform/autostart.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"

namespace kw::ui {

enum class AnzeigeCheck { Benachrichtigung, Autostart };

// The dialog "Anzeige und Start" as its presenter sees it.
class AnzeigeView {
  public:
    virtual ~AnzeigeView() = default;

    virtual bool checked(AnzeigeCheck box) = 0;
    virtual void setChecked(AnzeigeCheck box, bool on) = 0;
    virtual void setEnabled(AnzeigeCheck box, bool enabled) = 0;
    // Closes and unloads the dialog.
    virtual void close() = 0;
};

struct AnzeigePlatform {
    platform::SettingsStore& store;
    platform::MessageBox& messages;
    platform::Autostart& autostart;
    // Puts a stored choice into effect at once.
    std::function<void(const DisplayOptions&)> apply;
};

// Whether calls are announced on the desktop, and whether the program starts with the session.
// The second box shows the autostart entry as it really is; nothing else records it.
class Anzeige {
  public:
    Anzeige(AnzeigeView& view, AnzeigePlatform& platform);

    void load();
    void okClicked();      // OKButton, Enter
    void cancelClicked();  // CancelButton, Esc, the frame's close box

  private:
    void refuse(std::string_view text, const Failure& failure);

    AnzeigeView& view_;
    AnzeigePlatform& platform_;
    bool autostartKnown_ = false;
    bool autostartLoaded_ = false;
};

}  // namespace kw::ui
