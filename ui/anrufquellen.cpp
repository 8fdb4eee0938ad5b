#include "ui/anrufquellen.h"

#include <optional>
#include <string>

#include "core/error_numbers.h"
#include "core/messages.h"
#include "core/sip_fingerprint.h"
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
    view_.setChecked(SourceCheck::SIP, loaded_.SIP);
    view_.setText(SourceText::SIPServer, loaded_.SIPServer);
    view_.setText(SourceText::SIPBenutzer, loaded_.SIPBenutzer);
    view_.setText(SourceText::SIPAuthName, loaded_.SIPAuthName);
    // Reading the password only to show dots would wake the keyring (and its prompt) for nothing.
    view_.setText(SourceText::SIPPasswort, "");
    view_.setTransport(loaded_.SIPTransport);
    view_.setText(SourceText::SIPZertifikat, loaded_.SIPZertifikat);
    routerClicked();
    sipClicked();
}

void Anrufquellen::routerClicked() {
    const bool router = view_.checked(SourceCheck::Router);
    view_.setTextEnabled(SourceText::RouterHost, router);
    view_.setTextEnabled(SourceText::RouterPort, router);
}

void Anrufquellen::sipClicked() {
    const bool sip = view_.checked(SourceCheck::SIP);
    for (const SourceText box :
         {SourceText::SIPServer, SourceText::SIPBenutzer, SourceText::SIPAuthName,
          SourceText::SIPPasswort, SourceText::SIPZertifikat}) {
        view_.setTextEnabled(box, sip);
    }
    view_.setTransportEnabled(sip);
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
    chosen.SIP = view_.checked(SourceCheck::SIP);
    chosen.SIPServer = view_.text(SourceText::SIPServer);
    chosen.SIPBenutzer = view_.text(SourceText::SIPBenutzer);
    chosen.SIPAuthName = view_.text(SourceText::SIPAuthName);
    chosen.SIPTransport = view_.transport();
    if (chosen.SIP && chosen.SIPServer.empty()) {
        inform(anrufquellen::kNoSipServer);
        view_.focus(SourceText::SIPServer);
        return;
    }
    if (chosen.SIP && chosen.SIPBenutzer.empty()) {
        inform(anrufquellen::kNoSipUser);
        view_.focus(SourceText::SIPBenutzer);
        return;
    }
    const std::string certificate = view_.text(SourceText::SIPZertifikat);
    const std::optional<std::string> fingerprint = ParseSipFingerprint(certificate);
    if (chosen.SIP && !certificate.empty() && !fingerprint) {
        inform(anrufquellen::kBadSipCertificate);
        view_.focus(SourceText::SIPZertifikat);
        return;
    }
    // Trust belongs to the account: another server starts without it.
    chosen.SIPZertifikat =
        chosen.SIPServer == loaded_.SIPServer || certificate != loaded_.SIPZertifikat
            ? fingerprint.value_or(certificate.empty() ? "" : loaded_.SIPZertifikat)
            : std::string();
    const platform::SecretAccount account{chosen.SIPServer, chosen.SIPBenutzer};
    if (chosen.SIP && !securePassword(account)) {
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
    sipClicked();
}

void Anrufquellen::inform(std::string_view text) {
    platform_.messages.show(text, anrufquellen::kTitle, platform::MessageIcon::Information,
                            platform::MessageButtons::Ok);
}

}  // namespace kw::ui
