#pragma once

#include <functional>

#include "core/app_options.h"
#include "platform/file_search.h"
#include "platform/program_info.h"
#include "platform/settings_store.h"
#include "platform/win32/windows_api.h"
#include "ui/main_screen.h"

namespace kw::winui {

// Opens a fresh options or about dialog with its presenter, modal to the main window, and
// destroys both when it has closed. Owned by the main window on purpose: with the main window
// kept on top, an unowned dialog would open behind it.
class Win32DialogOpener final : public ui::DialogOpener {
  public:
    // The owner is asked at every opening, since the main window may be made after this.
    using Owner = std::function<HWND()>;

    Win32DialogOpener(Owner owner, AppOptions& options, platform::SettingsStore& store,
                      platform::FileSearch& files, platform::ProgramInfo& program)
        : owner_(std::move(owner)),
          options_(options),
          store_(store),
          files_(files),
          program_(program) {}
    Win32DialogOpener(HWND owner, AppOptions& options, platform::SettingsStore& store,
                      platform::FileSearch& files, platform::ProgramInfo& program)
        : Win32DialogOpener([owner] { return owner; }, options, store, files, program) {}

    void openOptionen() override;
    void openInfo() override;

  private:
    HWND owner() const { return owner_ ? owner_() : nullptr; }

    Owner owner_;
    AppOptions& options_;
    platform::SettingsStore& store_;
    platform::FileSearch& files_;
    platform::ProgramInfo& program_;
};

}  // namespace kw::winui
