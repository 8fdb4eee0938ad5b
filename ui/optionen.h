#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_options.h"
#include "platform/file_dialog.h"
#include "platform/file_search.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "ui/optionen_layout.h"

namespace kw::ui {

enum class OptionenTab { Datenbank = 0, Shell = 1 };
enum class OptionenText { Db, Proc, Shell };

// The option groups, each with its buttons in optionen::kOptionGroups.
enum class OptionGroup { Parameter, Start, Format };

// The buttons of a group, each with the number stored for it.
std::span<const optionen::OptionValue> OptionsOf(OptionGroup group);
// The text box's control name.
std::string_view TextBoxName(OptionenText box);

// The options dialog as its presenter sees it.
class OptionenView {
  public:
    virtual ~OptionenView() = default;

    virtual std::string text(OptionenText box) = 0;
    virtual void setText(OptionenText box, std::string_view text) = 0;
    virtual void focus(OptionenText box) = 0;

    virtual OptionenTab currentTab() = 0;
    virtual void showTab(OptionenTab tab) = 0;

    // The number of the group's checked button; none while no button is checked.
    virtual std::optional<int> choice(OptionGroup group) = 0;
    // Checks the button for `value`, alone in its group; a value no button has clears the group.
    virtual void setChoice(OptionGroup group, std::optional<int> value) = 0;

    // Closes and unloads the dialog.
    virtual void close() = 0;
};

struct OptionenPlatform {
    platform::SettingsStore& store;
    platform::MessageBox& messages;
    platform::FileSearch& files;
    platform::FileDialog& fileDialog;
};

// The example shown by "Zeige Beispiel-Aufruf": two header lines, an empty line, then the
// template with the example numbers.
std::string ShellExample(std::string_view shellTemplate, bool digitsOnly);

// The options dialog's behaviour: load, the buttons, OK with its checks and writes, Cancel.
class Optionen {
  public:
    Optionen(OptionenView& view, AppOptions& options, OptionenPlatform& platform);

    void load();
    void anruferClicked();     // BTN_Anrufer
    void msnClicked();         // BTN_MSN
    void showShellClicked();   // BTN_ShowShell
    void fileSelectClicked();  // BTN_FileSelect
    void okClicked();          // OKButton, Enter
    void cancelClicked();      // CancelButton, Esc, the frame's close box

  private:
    // Why OK cannot store the page yet, for the user.
    struct Notice {
        std::string_view title;
        std::string text;
    };

    // Add the page's keys to `values`, or say what is missing.
    std::optional<Notice> checkDatabasePage(std::vector<platform::SettingsValue>& values);
    std::optional<Notice> checkShellPage(std::vector<platform::SettingsValue>& values);
    std::string choiceText(OptionGroup group, int none);
    // All or none, with a message when it fails.
    bool save(std::span<const platform::SettingsValue> values);
    void inform(std::string_view title, std::string_view text);
    void appendToShell(std::string_view placeholder);

    OptionenView& view_;
    AppOptions& options_;
    OptionenPlatform& platform_;
};

}  // namespace kw::ui
