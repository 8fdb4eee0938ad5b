#pragma once

#include <string>
#include <string_view>

#include "core/app_options.h"
#include "core/call_action.h"
#include "core/call_info.h"
#include "platform/help_viewer.h"
#include "platform/instance_guard.h"
#include "platform/program_info.h"
#include "platform/settings_store.h"
#include "platform/window_manager.h"

namespace kw::ui {

// The main window as its presenter sees it. Besides the caller line and the action button it
// has a caption, the action button's caption, and the way out of the program.
class MainScreenView : public CallView {
  public:
    virtual void setCaption(std::string_view text) = 0;
    virtual void setActionCaption(std::string_view text) = 0;
    // A call's caller line with the numbers and the name (empty when unknown) apart, so that a
    // view can make each one safe and shorten it to fit; plain views show the joined line.
    virtual void showCallerLine(std::string_view callerNumber, std::string_view calledNumber,
                                std::string_view callerName) {
        setCallerLine(CallerLine(callerNumber, calledNumber, callerName));
    }
    // Ends the whole program at once; no other handler runs afterwards.
    virtual void endProgram() = 0;
    // Missed calls the user has not seen in the call list yet; nothing shows at 0.
    virtual void showMissedCalls(int /*count*/) {}
};

// Opens the two dialogs modally; each call returns when the dialog has closed.
class DialogOpener {
  public:
    virtual ~DialogOpener() = default;
    virtual void openOptionen() = 0;
    virtual void openInfo() = 0;
    virtual void openAnrufquellen() = 0;
    virtual void openTelefonbuecher() = 0;
    virtual void openAnzeige() = 0;
    // Returns how many missed calls are still unseen after the list has closed.
    virtual int openAnrufliste() = 0;
};

struct MainScreenPlatform {
    platform::InstanceGuard& instance;
    platform::ProgramInfo& program;
    platform::SettingsStore& store;
    platform::WindowManager& window;
    platform::HelpViewer& help;
    DialogOpener& dialogs;
    CallActionPlatform action;  // its message box also asks the exit question
};

// "3 verpasst"; empty at 0.
std::string MissedCallsText(int count);

// "Klingelwart (Version 2.0.0)" for version 2.0.0.
std::string MainScreenCaption(const platform::ProgramVersion& version);

// The help file beside the program, with exactly one separator before its name.
std::string HelpFilePath(std::string_view directory, char separator);

// The start-up window's behaviour: every handler of its events.
class MainScreen {
  public:
    MainScreen(MainScreenView& view, AppOptions& options, CallInfo& call,
               MainScreenPlatform& platform);

    // The load sequence. False when another instance runs: the caller ends the program then,
    // before any window is shown. Otherwise the caller shows the window as this left it.
    [[nodiscard]] bool load();

    // `callerName` is the address books' name for the caller, empty when they have none.
    void phoneRang(std::string_view callerNumber, std::string_view calledNumber,
                   std::string_view callerName = {});
    void actionClicked();            // BTN_Db
    void callerLineDoubleClicked();  // LBL_Anrufer, and mnuDel
    void endClicked();               // BTN_End, and mnuBeenden
    void optionenChosen();           // mnuOptionen
    void anrufquellenChosen();       // mnuAnrufquellen
    void telefonbuecherChosen();     // mnuTelefonbuecher
    void anzeigeChosen();            // mnuAnzeige
    void anruflisteChosen();         // mnuAnrufliste
    // The call list counted missed calls the user has not seen yet.
    void missedCallsCounted(int count);
    void helpChosen();  // mnuHilfe
    void infoChosen();  // mnuInfo

    // The action button's caption for the configured action.
    std::string_view actionCaption() const;
    // The configured action for a call other than the one in the caller line (from a
    // notification or the call list); the caller line's call stays as it is.
    void runActionFor(std::string_view callerNumber, std::string_view calledNumber);

    // Applies the start placement from the options; never moves or resizes the window.
    void applyStartMode();

  private:
    void showActionCaption();

    MainScreenView& view_;
    AppOptions& options_;
    CallInfo& call_;
    MainScreenPlatform& platform_;
};

}  // namespace kw::ui
