#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/phone_book_options.h"
#include "platform/secret_store.h"
#include "ui/book_loader.h"
#include "ui/carddav_sync.h"

namespace kw::ui {

struct AddressBooksPlatform {
    BookLoader::Read read;
    BookLoader::Build build;
    // Runs a function later on the UI thread.
    BookLoader::Post post;
    CardDavSync::MakeClient makeClient;
    // Where the CardDAV book's copy is kept (the user's cache folder for this program).
    std::string cacheDirectory;
    // Where the CardDAV password is kept; absent where the system has no safe place for it.
    platform::SecretStore* secrets = nullptr;
    // The books' problems, for the phone's tooltip.
    std::function<void(const std::vector<std::string>&)> problems;
    // The names of every book read, for the calls.
    std::function<void(const NameLookup&)> names;
};

// Every book the user names, the CardDAV book's copy last, read and synced apart from the
// window; what each gave, for the dialog and the tooltip.
class AddressBooks {
  public:
    explicit AddressBooks(AddressBooksPlatform& platform);

    // At start and after the dialog's OK.
    void load(const PhoneBookOptions& options);
    // One line per book, and the CardDAV book's sync when it failed.
    std::vector<std::string> statusLines() const;

  private:
    std::string password(const PhoneBookOptions& options) const;
    void loaded(const LoadedBooks& loaded);
    void synced(const std::string& problem);
    std::vector<BookStatus> shown() const;
    std::vector<std::string> problems() const;

    AddressBooksPlatform& platform_;
    std::optional<std::string> copy_;  // the CardDAV book's copy, when there is one
    std::vector<BookStatus> books_;
    std::string syncProblem_;
    CardDavSync sync_;
    // Last: it reads the copy the sync above writes.
    BookLoader loader_;
};

}  // namespace kw::ui
