// The Windows program with a CardDAV book on a real Radicale: synced at start, the caller named.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/phone_book_options.h"
#include "platform/win32/credential_store.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/wide_text.h"
#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/poll_until.h"

namespace kw::win32::gui {
namespace {

// The plain Radicale of the test peers, serving Anna's and Bert's cards to "kw".
std::string RadicaleBook() {
    const char* folder = std::getenv("KW_DAV_PEERS");
    std::ifstream table(
        std::filesystem::path(L"Z:" + Utf8ToWide(folder != nullptr ? folder : "") + L"/peers.txt"));
    std::string name;
    std::string port;
    while (table >> name >> port) {
        if (name == "plain") {
            return "http://127.0.0.1:" + port + "/kw/buch/";
        }
    }
    return {};
}

// The book and its password for one test, gone afterwards with the copy's account.
class CardDavBookSettings {
  public:
    explicit CardDavBookSettings(PhoneBookOptions books) : books_(std::move(books)) {
        written_ = !WritePhoneBookOptions(store_, books_) &&
                   !credentials_.store({books_.CardDAV, books_.CardDAVBenutzer}, "geheim");
    }
    ~CardDavBookSettings() {
        (void)credentials_.erase({books_.CardDAV, books_.CardDAVBenutzer});
        (void)WritePhoneBookOptions(store_, PhoneBookOptions{});
    }
    bool written() const { return written_; }

  private:
    PhoneBookOptions books_;
    RegistrySettingsStore store_;
    CredentialStore credentials_;
    bool written_ = false;
};

TEST(CardDavNames, TheCallerLineNamesTheCallerFromTheServersBook) {
    const std::string book = RadicaleBook();
    ASSERT_FALSE(book.empty()) << "no test Radicale";
    const OptionsRegistry registry;
    ASSERT_TRUE(registry.set(L"Start", L"2"));
    const CardDavBookSettings settings({.CardDAV = book, .CardDAVBenutzer = "kw"});
    ASSERT_TRUE(settings.written());

    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    ASSERT_TRUE(session.ring(L"030 1234567", L"42"));
    // The number first; the name once the book has come from the server, which on a busy
    // machine may take Radicale a while.
    const std::wstring named = L"Anruf von Anna Äpfel (030 1234567) auf Leitung: 42";
    EXPECT_TRUE(PollUntil([&] { return session.callerLine() == named; }, 3 * kPatience))
        << WideToUtf8(session.callerLine());
}

}  // namespace
}  // namespace kw::win32::gui
