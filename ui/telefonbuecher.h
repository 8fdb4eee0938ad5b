#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/phone_book_options.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/secret_store.h"
#include "platform/settings_store.h"

namespace kw::ui {

enum class BookText { Landesvorwahl, Ortsvorwahl, CardDAV, CardDAVBenutzer, CardDAVPasswort };
enum class BookButton { Remove, Up, Down };

// The phone books dialog, as its presenter sees it.
class TelefonbuecherView {
  public:
    virtual ~TelefonbuecherView() = default;

    virtual std::string text(BookText box) = 0;
    virtual void setText(BookText box, std::string_view text) = 0;
    virtual void focus(BookText box) = 0;
    // The list of files and folders; `selected` is an index into it, or -1 for none.
    virtual void setFiles(const std::vector<std::string>& files, int selected) = 0;
    virtual int selectedFile() = 0;
    virtual void setButtonEnabled(BookButton button, bool enabled) = 0;
    // One line per book, separated by "\n".
    virtual void setStatus(std::string_view lines) = 0;

    // Closes and unloads the dialog.
    virtual void close() = 0;
};

struct TelefonbuecherPlatform {
    platform::SettingsStore& store;
    platform::MessageBox& messages;
    platform::FileDialog& files;
    // Where the CardDAV password is kept; absent where the system has no safe place for it.
    platform::SecretStore* secrets = nullptr;
    // Puts the stored choice into effect at once: the books are read again.
    std::function<void(const PhoneBookOptions&)> apply;
    // How each book did at its last reading, one line each.
    std::function<std::vector<std::string>()> status;
};

// The account the CardDAV password is kept under.
platform::SecretAccount CardDavAccount(const PhoneBookOptions& options);

// The phone books dialog's behaviour: the list of files and folders, the area codes and the
// CardDAV account, OK with its checks and one write, Cancel.
class Telefonbuecher {
  public:
    Telefonbuecher(TelefonbuecherView& view, TelefonbuecherPlatform& platform);

    void load();
    void addFileClicked();
    void addFolderClicked();
    void removeClicked();
    void upClicked();
    void downClicked();
    void selectionChanged();
    void okClicked();      // OKButton, Enter
    void cancelClicked();  // CancelButton, Esc, the frame's close box

  private:
    void add(Result<std::string> chosen);
    void move(int by);
    void show(int selected);
    void inform(std::string_view text);
    void refuse(std::string_view reason, const Failure& failure);
    // Stores a typed password, or makes sure one is stored; false after telling the user why not.
    bool securePassword(const platform::SecretAccount& account);

    TelefonbuecherView& view_;
    TelefonbuecherPlatform& platform_;
    PhoneBookOptions loaded_;
    std::vector<std::string> files_;
};

}  // namespace kw::ui
