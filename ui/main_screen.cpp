#include "ui/main_screen.h"

#include "ui/main_screen_layout.h"
#include "ui/version_text.h"

namespace kw::ui {

namespace {

// IncomingCall shows the joined line; the view gets the numbers it has just stored instead.
class NumbersApart final : public CallView {
  public:
    NumbersApart(MainScreenView& view, const CallInfo& call) : view_(view), call_(call) {}

    void setCallerLine(std::string_view text) override {
        if (text.empty()) {
            view_.setCallerLine(text);
        } else {
            view_.showCallerLine(call_.AnrufNummer, call_.MSN, call_.AnrufName);
        }
    }
    void setActionEnabled(bool enabled) override { view_.setActionEnabled(enabled); }

  private:
    MainScreenView& view_;
    const CallInfo& call_;
};

}  // namespace

std::string MissedCallsText(int count) {
    return count > 0 ? std::to_string(count) + " verpasst" : std::string();
}

std::string MainScreenCaption(const platform::ProgramVersion& version) {
    return "Klingelwart (Version " + VersionNumbers(version) + ")";
}

std::string HelpFilePath(std::string_view directory, char separator) {
    std::string path(directory);
    if (path.empty() || path.back() != separator) {
        path += separator;
    }
    path += main_screen::kHelpFileName;
    return path;
}

MainScreen::MainScreen(MainScreenView& view, AppOptions& options, CallInfo& call,
                       MainScreenPlatform& platform)
    : view_(view), options_(options), call_(call), platform_(platform) {}

bool MainScreen::load() {
    if (platform_.instance.previousInstanceRunning()) {
        return false;
    }
    view_.setCaption(MainScreenCaption(platform_.program.version()));
    LoadOptions(platform_.store, options_);
    showActionCaption();
    applyStartMode();
    return true;
}

void MainScreen::phoneRang(std::string_view callerNumber, std::string_view calledNumber,
                           std::string_view callerName) {
    NumbersApart view(view_, call_);
    IncomingCall(call_, view, callerNumber, calledNumber, callerName);
}

void MainScreen::actionClicked() {
    RunCallAction(options_, call_, platform_.action);
}

void MainScreen::callerLineDoubleClicked() {
    ClearCall(call_, view_);
}

void MainScreen::endClicked() {
    const auto answer = platform_.action.messages.show(
        main_screen::kExitQuestion, main_screen::kExitTitle, platform::MessageIcon::Question,
        platform::MessageButtons::YesNo);
    if (answer == platform::MessageAnswer::Yes) {
        view_.endProgram();
    }
}

void MainScreen::optionenChosen() {
    platform_.dialogs.openOptionen();
    applyStartMode();
    showActionCaption();
}

void MainScreen::anrufquellenChosen() {
    platform_.dialogs.openAnrufquellen();
}

void MainScreen::telefonbuecherChosen() {
    platform_.dialogs.openTelefonbuecher();
}

void MainScreen::anzeigeChosen() {
    platform_.dialogs.openAnzeige();
}

void MainScreen::anruflisteChosen() {
    view_.showMissedCalls(platform_.dialogs.openAnrufliste());
}

void MainScreen::missedCallsCounted(int count) {
    view_.showMissedCalls(count);
}

void MainScreen::helpChosen() {
    platform_.help.open(
        HelpFilePath(platform_.program.directory(), platform_.program.pathSeparator()));
}

void MainScreen::infoChosen() {
    platform_.dialogs.openInfo();
}

void MainScreen::applyStartMode() {
    switch (options_.Start) {
        case 1:
            platform_.window.minimize();
            break;
        case 2:
            platform_.window.setKeepOnTop(false);
            platform_.window.restore();
            break;
        default:
            platform_.window.setKeepOnTop(true);
            break;
    }
}

std::string_view MainScreen::actionCaption() const {
    return options_.DoJob ? main_screen::kShellActionCaption : main_screen::kDatabaseActionCaption;
}

void MainScreen::runActionFor(std::string_view callerNumber, std::string_view calledNumber) {
    CallInfo call{std::string(callerNumber), std::string(calledNumber)};
    RunCallAction(options_, call, platform_.action);
}

void MainScreen::showActionCaption() {
    view_.setActionCaption(actionCaption());
}

}  // namespace kw::ui
