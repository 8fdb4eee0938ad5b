#include "ui/anrufquellen.h"

#include <string>

#include "core/messages.h"
#include "ui/anrufquellen_layout.h"

namespace kw::ui {

Anrufquellen::Anrufquellen(AnrufquellenView& view, AnrufquellenPlatform& platform)
    : view_(view), platform_(platform) {}

void Anrufquellen::load() {
    loaded_ = LoadCallSourceOptions(platform_.store);
    if (platform_.hasPhoneControl) {
        view_.setChecked(SourceCheck::Steuerelement, loaded_.Steuerelement);
    }
    view_.setChecked(SourceCheck::KlingelwartRing, loaded_.KlingelwartRing);
    view_.setChecked(SourceCheck::Router, loaded_.Router);
    view_.setText(SourceText::RouterHost, loaded_.RouterHost);
    view_.setText(SourceText::RouterPort, std::to_string(loaded_.RouterPort));
    routerClicked();
}

void Anrufquellen::routerClicked() {
    const bool router = view_.checked(SourceCheck::Router);
    view_.setTextEnabled(SourceText::RouterHost, router);
    view_.setTextEnabled(SourceText::RouterPort, router);
}

void Anrufquellen::okClicked() {
    CallSourceOptions chosen = loaded_;
    if (platform_.hasPhoneControl) {
        chosen.Steuerelement = view_.checked(SourceCheck::Steuerelement);
    }
    chosen.KlingelwartRing = view_.checked(SourceCheck::KlingelwartRing);
    chosen.Router = view_.checked(SourceCheck::Router);
    const std::string host = view_.text(SourceText::RouterHost);
    const auto port = ParsePort(view_.text(SourceText::RouterPort));
    // The router's fields only hold up the dialog while the router is chosen; otherwise a bad
    // entry just keeps the stored value.
    if (chosen.Router && host.empty()) {
        inform(anrufquellen::kNoHost);
        view_.focus(SourceText::RouterHost);
        return;
    }
    if (chosen.Router && !port) {
        inform(anrufquellen::kBadPort);
        view_.focus(SourceText::RouterPort);
        return;
    }
    if (!host.empty()) {
        chosen.RouterHost = host;
    }
    if (port) {
        chosen.RouterPort = *port;
    }
    if (MaybeFailure failure = WriteCallSourceOptions(platform_.store, chosen)) {
        std::string text(anrufquellen::kNotSavedText);
        text += kCrLf;
        text += kCrLf;
        text += FailureText(*failure);
        platform_.messages.show(text, anrufquellen::kTitle, platform::MessageIcon::Critical,
                                platform::MessageButtons::Ok);
        return;
    }
    // What is in effect is what the store holds now, read back through the same rules.
    if (platform_.apply) {
        platform_.apply(LoadCallSourceOptions(platform_.store));
    }
    view_.close();
}

void Anrufquellen::cancelClicked() {
    view_.close();
}

void Anrufquellen::inform(std::string_view text) {
    platform_.messages.show(text, anrufquellen::kTitle, platform::MessageIcon::Information,
                            platform::MessageButtons::Ok);
}

}  // namespace kw::ui
