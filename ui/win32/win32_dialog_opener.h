#pragma once

#include <functional>

#include "core/app_options.h"
#include "platform/program_info.h"
#include "platform/win32/windows_api.h"
#include "ui/anrufliste.h"
#include "ui/anrufquellen.h"
#include "ui/anzeige.h"
#include "ui/main_screen.h"
#include "ui/optionen.h"
#include "ui/telefonbuecher.h"

namespace kw::winui {

// Opens a fresh options or about dialog with its presenter, modal to the main window, and
// destroys both when it has closed. Owned by the main window on purpose: with the main window
// kept on top, an unowned dialog would open behind it.
class Win32DialogOpener final : public ui::DialogOpener {
  public:
    // The owner is asked at every opening, since the main window may be made after this.
    using Owner = std::function<HWND()>;

    // Without `anrufquellen`, `telefonbuecher`, `anzeige` or `anrufliste` that dialog does not
    // open.
    Win32DialogOpener(Owner owner, AppOptions& options, ui::OptionenPlatform& optionen,
                      const platform::ProgramInfo& program,
                      ui::AnrufquellenPlatform* anrufquellen = nullptr,
                      ui::TelefonbuecherPlatform* telefonbuecher = nullptr,
                      ui::AnzeigePlatform* anzeige = nullptr,
                      ui::AnruflistePlatform* anrufliste = nullptr)
        : owner_(std::move(owner)),
          options_(options),
          optionen_(optionen),
          program_(program),
          anrufquellen_(anrufquellen),
          telefonbuecher_(telefonbuecher),
          anzeige_(anzeige),
          anrufliste_(anrufliste) {}
    Win32DialogOpener(HWND owner, AppOptions& options, ui::OptionenPlatform& optionen,
                      const platform::ProgramInfo& program,
                      ui::AnrufquellenPlatform* anrufquellen = nullptr,
                      ui::TelefonbuecherPlatform* telefonbuecher = nullptr,
                      ui::AnzeigePlatform* anzeige = nullptr,
                      ui::AnruflistePlatform* anrufliste = nullptr)
        : Win32DialogOpener([owner] { return owner; }, options, optionen, program, anrufquellen,
                            telefonbuecher, anzeige, anrufliste) {}

    void openOptionen() override;
    void openInfo() override;
    void openAnrufquellen() override;
    void openTelefonbuecher() override;
    void openAnzeige() override;
    int openAnrufliste() override;

    // The dialog open now, else the owner: what message boxes and the file dialog must be modal
    // to, so that the options dialog cannot be used behind its own message.
    HWND topWindow() const { return open_ != nullptr ? open_ : owner(); }

  private:
    HWND owner() const { return owner_ ? owner_() : nullptr; }

    Owner owner_;
    AppOptions& options_;
    ui::OptionenPlatform& optionen_;
    const platform::ProgramInfo& program_;
    ui::AnrufquellenPlatform* anrufquellen_;
    ui::TelefonbuecherPlatform* telefonbuecher_;
    ui::AnzeigePlatform* anzeige_;
    ui::AnruflistePlatform* anrufliste_;
    HWND open_ = nullptr;
};

}  // namespace kw::winui
