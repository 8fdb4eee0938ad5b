#include "ui/telefonbuecher.h"

#include <algorithm>
#include <utility>

#include "core/error_numbers.h"
#include "core/messages.h"
#include "ui/telefonbuecher_layout.h"

namespace kw::ui {

namespace layout = telefonbuecher;

namespace {

bool IsWebAddress(std::string_view url) {
    for (const std::string_view scheme : {"https://", "http://"}) {
        if (url.size() > scheme.size() && url.substr(0, scheme.size()) == scheme) {
            return true;
        }
    }
    return false;
}

}  // namespace

platform::SecretAccount CardDavAccount(const PhoneBookOptions& options) {
    return {options.CardDAV, options.CardDAVBenutzer};
}

Telefonbuecher::Telefonbuecher(TelefonbuecherView& view, TelefonbuecherPlatform& platform)
    : view_(view), platform_(platform) {}

void Telefonbuecher::load() {
    loaded_ = LoadPhoneBookOptions(platform_.store);
    files_ = loaded_.Dateien;
    view_.setText(BookText::Landesvorwahl, loaded_.Landesvorwahl);
    view_.setText(BookText::Ortsvorwahl, loaded_.Ortsvorwahl);
    view_.setText(BookText::CardDAV, loaded_.CardDAV);
    view_.setText(BookText::CardDAVBenutzer, loaded_.CardDAVBenutzer);
    // Reading the password only to show dots would wake the keyring for nothing.
    view_.setText(BookText::CardDAVPasswort, "");
    std::string lines;
    if (platform_.status) {
        for (const std::string& line : platform_.status()) {
            lines += lines.empty() ? "" : "\n";
            lines += line;
        }
    }
    view_.setStatus(lines);
    show(files_.empty() ? -1 : 0);
}

void Telefonbuecher::addFileClicked() {
    add(platform_.files.openFile(layout::kAddFileTitle, "", layout::kAddFileFilter));
}

void Telefonbuecher::addFolderClicked() {
    add(platform_.files.openFolder(layout::kAddFolderTitle));
}

void Telefonbuecher::add(Result<std::string> chosen) {
    if (!chosen.ok()) {
        refuse(layout::kNoDialog, chosen.failure());
        return;
    }
    const std::string& path = chosen.value();
    if (path.empty()) {
        return;  // cancelled
    }
    // The same book twice would only be read twice.
    auto found = std::find(files_.begin(), files_.end(), path);
    if (found == files_.end()) {
        files_.push_back(path);
        found = files_.end() - 1;
    }
    show(static_cast<int>(found - files_.begin()));
}

void Telefonbuecher::removeClicked() {
    const int selected = view_.selectedFile();
    if (selected < 0 || selected >= static_cast<int>(files_.size())) {
        return;
    }
    files_.erase(files_.begin() + selected);
    show(std::min(selected, static_cast<int>(files_.size()) - 1));
}

void Telefonbuecher::upClicked() {
    move(-1);
}

void Telefonbuecher::downClicked() {
    move(1);
}

void Telefonbuecher::move(int by) {
    const int from = view_.selectedFile();
    const int to = from + by;
    const int count = static_cast<int>(files_.size());
    if (from < 0 || from >= count || to < 0 || to >= count) {
        return;
    }
    std::swap(files_[static_cast<std::size_t>(from)], files_[static_cast<std::size_t>(to)]);
    show(to);
}

void Telefonbuecher::selectionChanged() {
    const int selected = view_.selectedFile();
    const int count = static_cast<int>(files_.size());
    const bool any = selected >= 0 && selected < count;
    view_.setButtonEnabled(BookButton::Remove, any);
    view_.setButtonEnabled(BookButton::Up, any && selected > 0);
    view_.setButtonEnabled(BookButton::Down, any && selected + 1 < count);
}

void Telefonbuecher::show(int selected) {
    view_.setFiles(files_, selected);
    selectionChanged();
}

void Telefonbuecher::okClicked() {
    PhoneBookOptions chosen;
    chosen.Dateien = files_;
    chosen.Landesvorwahl = view_.text(BookText::Landesvorwahl);
    chosen.Ortsvorwahl = view_.text(BookText::Ortsvorwahl);
    chosen.CardDAV = view_.text(BookText::CardDAV);
    chosen.CardDAVBenutzer = view_.text(BookText::CardDAVBenutzer);
    const struct {
        bool bad;
        std::string_view message;
        BookText box;
    } checks[] = {
        {!AllDigits(chosen.Landesvorwahl, 3), layout::kBadCountryCode, BookText::Landesvorwahl},
        {!chosen.Ortsvorwahl.empty() && !AllDigits(chosen.Ortsvorwahl, 10), layout::kBadAreaCode,
         BookText::Ortsvorwahl},
        {!chosen.CardDAV.empty() && !IsWebAddress(chosen.CardDAV), layout::kBadCardDavAddress,
         BookText::CardDAV},
        {!chosen.CardDAV.empty() && chosen.CardDAVBenutzer.empty(), layout::kNoCardDavUser,
         BookText::CardDAVBenutzer},
    };
    for (const auto& check : checks) {
        if (check.bad) {
            inform(check.message);
            view_.focus(check.box);
            return;
        }
    }
    const platform::SecretAccount account = CardDavAccount(chosen);
    if (!chosen.CardDAV.empty() && !securePassword(account)) {
        return;
    }
    if (MaybeFailure failure = WritePhoneBookOptions(platform_.store, chosen)) {
        refuse(layout::kNotSavedText, *failure);
        return;
    }
    // A password left under an account no longer configured would never be found again.
    const platform::SecretAccount old = CardDavAccount(loaded_);
    if (platform_.secrets && !old.server.empty() &&
        (old.server != account.server || old.user != account.user)) {
        (void)platform_.secrets->erase(old);
    }
    if (platform_.apply) {
        platform_.apply(LoadPhoneBookOptions(platform_.store));
    }
    view_.close();
}

void Telefonbuecher::cancelClicked() {
    view_.close();
}

bool Telefonbuecher::securePassword(const platform::SecretAccount& account) {
    if (platform_.secrets == nullptr) {
        refuse(layout::kNoSafeStore,
               Failure{error::kCannotCreateObject, std::string(layout::kNoSecretStoreHere)});
        return false;
    }
    platform::SecretStore& secrets = *platform_.secrets;
    if (MaybeFailure failure = secrets.available()) {
        refuse(layout::kNoSafeStore, *failure);
        return false;
    }
    const std::string password = view_.text(BookText::CardDAVPasswort);
    if (!password.empty()) {
        if (MaybeFailure failure = secrets.store(account, password)) {
            refuse(layout::kNoSafeStore, *failure);
            return false;
        }
        return true;
    }
    auto stored = secrets.read(account);
    if (!stored.ok()) {
        refuse(layout::kNoSafeStore, stored.failure());
        return false;
    }
    if (!stored.value()) {
        inform(layout::kNoCardDavPassword);
        view_.focus(BookText::CardDAVPasswort);
        return false;
    }
    return true;
}

void Telefonbuecher::refuse(std::string_view reason, const Failure& failure) {
    std::string text(reason);
    text += kCrLf;
    text += kCrLf;
    text += FailureText(failure);
    platform_.messages.show(text, layout::kTitle, platform::MessageIcon::Critical,
                            platform::MessageButtons::Ok);
}

void Telefonbuecher::inform(std::string_view text) {
    platform_.messages.show(text, layout::kTitle, platform::MessageIcon::Information,
                            platform::MessageButtons::Ok);
}

}  // namespace kw::ui
