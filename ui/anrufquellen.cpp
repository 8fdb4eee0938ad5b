#include "ui/anrufquellen.h"

#include <string>

#include "core/error_numbers.h"
#include "core/messages.h"
#include "ui/anrufquellen_layout.h"

namespace kw::ui {

Anrufquellen::Anrufquellen(AnrufquellenView& view, AnrufquellenPlatform& platform)
    : view_(view), platform_(platform) {}

void Anrufquellen::load() {
    loaded_ = LoadCallSourceOptions(platform_.store);
    for (const SourceRow& row : platform_.sources) {
        view_.setChecked(row.check, SwitchedOn(loaded_, row.key));
        // Reading the password only to show dots would wake the keyring (and its prompt) for
        // nothing, so a text kept outside the settings starts empty.
        for (const SourceTextRow& text : row.texts) {
            view_.setText(text.box, OptionText(loaded_, text.key));
        }
        if (row.sipAccount) {
            view_.setTransport(loaded_.SIPTransport);
        }
    }
    for (const SourceRow& row : platform_.sources) {
        showEnabled(row);
    }
}

void Anrufquellen::checkClicked(SourceCheck box) {
    for (const SourceRow& row : platform_.sources) {
        if (row.check == box) {
            showEnabled(row);
        }
    }
}

void Anrufquellen::showEnabled(const SourceRow& row) {
    const bool on = view_.checked(row.check);
    for (const SourceTextRow& text : row.texts) {
        view_.setTextEnabled(text.box, on);
    }
    if (row.sipAccount) {
        view_.setTransportEnabled(on);
    }
}

void Anrufquellen::okClicked() {
    CallSourceOptions chosen = loaded_;
    const SourceRow* sip = nullptr;
    for (const SourceRow& row : platform_.sources) {
        const bool on = view_.checked(row.check);
        (void)SetOptionText(chosen, row.key, on ? "1" : "0");
        for (const SourceTextRow& text : row.texts) {
            if (text.key.empty()) {
                continue;
            }
            // A source's texts only hold up the dialog while it is chosen; otherwise a bad entry
            // just keeps the stored value.
            const std::string typed = view_.text(text.box);
            const bool taken = SetOptionText(chosen, text.key, typed);
            if (on && !text.refusal.empty() && (!taken || (typed.empty() && !text.mayBeEmpty))) {
                inform(text.refusal);
                view_.focus(text.box);
                return;
            }
        }
        if (row.sipAccount) {
            chosen.SIPTransport = view_.transport();
            sip = &row;
        }
    }
    // Trust belongs to the account: another server starts without it, unless given anew.
    if (sip != nullptr && chosen.SIPServer != loaded_.SIPServer &&
        chosen.SIPZertifikat == loaded_.SIPZertifikat) {
        chosen.SIPZertifikat.clear();
    }
    const platform::SecretAccount account{chosen.SIPServer, chosen.SIPBenutzer};
    if (sip != nullptr && SwitchedOn(chosen, sip->key) && !securePassword(account)) {
        return;
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
    // A password left under an account no longer configured would never be found again; failing
    // to erase it is not worth holding up the dialog.
    const platform::SecretAccount old{loaded_.SIPServer, loaded_.SIPBenutzer};
    if (platform_.secrets && !old.server.empty() && !old.user.empty() &&
        (old.server != account.server || old.user != account.user)) {
        (void)platform_.secrets->erase(old);
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

bool Anrufquellen::securePassword(const platform::SecretAccount& account) {
    if (platform_.secrets == nullptr) {
        refuseSip(
            Failure{error::kCannotCreateObject, std::string(anrufquellen::kNoSecretStoreHere)});
        return false;
    }
    platform::SecretStore& secrets = *platform_.secrets;
    if (MaybeFailure failure = secrets.available()) {
        refuseSip(*failure);
        return false;
    }
    const std::string password = view_.text(SourceText::SIPPasswort);
    if (!password.empty()) {
        if (MaybeFailure failure = secrets.store(account, password)) {
            refuseSip(*failure);
            return false;
        }
        return true;
    }
    // An empty box keeps the stored password, so there has to be one.
    auto stored = secrets.read(account);
    if (!stored.ok()) {
        refuseSip(stored.failure());
        return false;
    }
    if (!stored.value()) {
        inform(anrufquellen::kNoSipPassword);
        view_.focus(SourceText::SIPPasswort);
        return false;
    }
    return true;
}

void Anrufquellen::refuseSip(const Failure& failure) {
    std::string text(anrufquellen::kNoSafeStore);
    text += kCrLf;
    text += kCrLf;
    text += FailureText(failure);
    platform_.messages.show(text, anrufquellen::kTitle, platform::MessageIcon::Critical,
                            platform::MessageButtons::Ok);
    view_.setChecked(SourceCheck::SIP, false);
    checkClicked(SourceCheck::SIP);
}

void Anrufquellen::inform(std::string_view text) {
    platform_.messages.show(text, anrufquellen::kTitle, platform::MessageIcon::Information,
                            platform::MessageButtons::Ok);
}

}  // namespace kw::ui
