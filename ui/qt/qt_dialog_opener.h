#pragma once

#include "core/app_options.h"
#include "platform/program_info.h"
#include "ui/anrufliste.h"
#include "ui/anrufquellen.h"
#include "ui/anzeige.h"
#include "ui/main_screen.h"
#include "ui/optionen.h"
#include "ui/telefonbuecher.h"

namespace kw::qt {

class GermanTranslation;

// Opens a fresh options, call sources or about dialog with its presenter, runs it modally and
// destroys both when it has closed.
class QtDialogOpener final : public ui::DialogOpener {
  public:
    // Without `anrufliste` the call list does not open. `german`, when given, is needed before
    // each dialog: the text boxes' context menus are Qt's.
    QtDialogOpener(AppOptions& options, ui::OptionenPlatform& optionen,
                   ui::AnrufquellenPlatform& anrufquellen, ui::AnzeigePlatform& anzeige,
                   const platform::ProgramInfo& program,
                   ui::TelefonbuecherPlatform* telefonbuecher = nullptr,
                   ui::AnruflistePlatform* anrufliste = nullptr,
                   GermanTranslation* german = nullptr)
        : options_(options),
          optionen_(optionen),
          anrufquellen_(anrufquellen),
          anzeige_(anzeige),
          program_(program),
          telefonbuecher_(telefonbuecher),
          anrufliste_(anrufliste),
          german_(german) {}

    void openOptionen() override;
    void openInfo() override;
    void openAnrufquellen() override;
    // Without its platform the phone books dialog does not open.
    void openTelefonbuecher() override;
    void openAnzeige() override;
    int openAnrufliste() override;

  private:
    AppOptions& options_;
    ui::OptionenPlatform& optionen_;
    ui::AnrufquellenPlatform& anrufquellen_;
    ui::AnzeigePlatform& anzeige_;
    const platform::ProgramInfo& program_;
    ui::TelefonbuecherPlatform* telefonbuecher_;
    ui::AnruflistePlatform* anrufliste_;
    GermanTranslation* german_;
};

}  // namespace kw::qt
