#include "ui/anzeige.h"

#include <string>

#include "core/messages.h"
#include "ui/anzeige_layout.h"

namespace kw::ui {

Anzeige::Anzeige(AnzeigeView& view, AnzeigePlatform& platform) : view_(view), platform_(platform) {}

void Anzeige::load() {
    view_.setChecked(AnzeigeCheck::Benachrichtigung,
                     LoadDisplayOptions(platform_.store).Benachrichtigung);
    Result<bool> autostart = platform_.autostart.enabled();
    // An entry that cannot be read cannot be shown truthfully either way, so it is not offered.
    autostartKnown_ = autostart.ok();
    autostartLoaded_ = autostartKnown_ && autostart.value();
    view_.setChecked(AnzeigeCheck::Autostart, autostartLoaded_);
    view_.setEnabled(AnzeigeCheck::Autostart, autostartKnown_);
}

void Anzeige::okClicked() {
    const DisplayOptions chosen{.Benachrichtigung = view_.checked(AnzeigeCheck::Benachrichtigung)};
    if (MaybeFailure failure = WriteDisplayOptions(platform_.store, chosen)) {
        refuse(anzeige::kNotSavedText, *failure);
        return;
    }
    const bool autostart = view_.checked(AnzeigeCheck::Autostart);
    if (autostartKnown_ && autostart != autostartLoaded_) {
        if (MaybeFailure failure = platform_.autostart.set(autostart)) {
            refuse(anzeige::kAutostartText, *failure);
            return;
        }
        autostartLoaded_ = autostart;
    }
    if (platform_.apply) {
        platform_.apply(LoadDisplayOptions(platform_.store));
    }
    view_.close();
}

void Anzeige::cancelClicked() {
    view_.close();
}

void Anzeige::refuse(std::string_view text, const Failure& failure) {
    std::string message(text);
    message += kCrLf;
    message += kCrLf;
    message += FailureText(failure);
    platform_.messages.show(message, anzeige::kTitle, platform::MessageIcon::Critical,
                            platform::MessageButtons::Ok);
}

}  // namespace kw::ui
