#include "ui/address_books.h"

#include <filesystem>
#include <utility>

#include "core/book_files.h"
#include "ui/telefonbuecher.h"

namespace kw::ui {

namespace {

bool Exists(const std::string& utf8) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(std::u8string(utf8.begin(), utf8.end())),
                                   error);
}

}  // namespace

AddressBooks::AddressBooks(AddressBooksPlatform& platform)
    : platform_(platform),
      sync_(platform.makeClient, platform.cacheDirectory, platform.post,
            [this](const std::string& problem) { synced(problem); }),
      loader_(platform.read, platform.build, platform.post,
              [this](const LoadedBooks& loaded) { this->loaded(loaded); }) {}

void AddressBooks::load(const PhoneBookOptions& options) {
    PhoneBookOptions books = options;
    copy_.reset();
    syncProblem_.clear();
    if (options.CardDAV.empty()) {
        sync_.sync(std::nullopt);
    } else {
        copy_ = sync_.cacheFile(options.CardDAV, options.CardDAVBenutzer);
        books.Dateien.push_back(*copy_);
        sync_.sync(CardDavBook{options.CardDAV, options.CardDAVBenutzer, password(options)});
    }
    loader_.load(std::move(books));
}

// Without one the server says what it thinks of that.
std::string AddressBooks::password(const PhoneBookOptions& options) const {
    if (platform_.secrets == nullptr) {
        return {};
    }
    auto stored = platform_.secrets->read(CardDavAccount(options));
    return stored.ok() && stored.value() ? *stored.value() : std::string();
}

std::vector<std::string> AddressBooks::statusLines() const {
    std::vector<std::string> lines = StatusLines(shown());
    if (!syncProblem_.empty()) {
        lines.push_back("CardDAV-Abgleich fehlgeschlagen: " + syncProblem_);
    }
    return lines;
}

void AddressBooks::loaded(const LoadedBooks& loaded) {
    books_ = loaded.books;
    platform_.problems(problems());
    platform_.names(loaded.lookup);
}

void AddressBooks::synced(const std::string& problem) {
    syncProblem_ = problem;
    platform_.problems(problems());
}

// Before the first sync there is no copy, which is no fault of the book.
std::vector<BookStatus> AddressBooks::shown() const {
    std::vector<BookStatus> books = books_;
    if (copy_ && !books.empty() && BookName(*copy_) == books.back().name &&
        !books.back().error.empty() && !Exists(*copy_)) {
        books.back().error = "noch nicht abgeglichen";
    }
    return books;
}

std::vector<std::string> AddressBooks::problems() const {
    std::vector<BookStatus> books = books_;
    const bool copied = copy_ && Exists(*copy_);
    if (copy_ && !copied && !books.empty()) {
        books.pop_back();  // not yet a problem: the sync reports its own
    }
    std::vector<std::string> lines = BookProblems(books);
    if (!syncProblem_.empty()) {
        lines.push_back("Telefonbuch CardDAV: " + syncProblem_ +
                        (copied ? "; die letzte Kopie bleibt in Gebrauch" : ""));
    }
    return lines;
}

}  // namespace kw::ui
