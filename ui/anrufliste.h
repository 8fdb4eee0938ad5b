#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/call_list_row.h"
#include "core/call_log.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"

namespace kw::ui {

// The call list window as its presenter sees it.
class AnruflisteView {
  public:
    virtual ~AnruflisteView() = default;

    // Replaces the list's rows, the first on top, and selects the first.
    virtual void showRows(const std::vector<CallListRow>& rows) = 0;
    // Positions of the selected rows, in any order.
    virtual std::vector<std::size_t> selectedRows() = 0;
    virtual bool onlyMissed() = 0;
    virtual void close() = 0;
};

struct AnruflistePlatform {
    CallLog& log;
    platform::SettingsStore& store;
    platform::MessageBox& messages;
    platform::FileDialog& files;
    platform::Clipboard& clipboard;
    // The main window's action with a call's numbers.
    std::function<void(std::string_view caller, std::string_view called)> runAction;
};

// Missed calls newer than the newest one the list showed when it was last opened.
std::size_t UnseenMissedCalls(const CallLog& log, platform::SettingsStore& store);

// The call list window's behaviour.
class Anrufliste {
  public:
    Anrufliste(AnruflisteView& view, AnruflistePlatform& platform);

    // Shows the calls and remembers the newest as seen.
    void load();
    void filterClicked();  // CHK_NurVerpasste
    void runClicked();     // BTN_Ausfuehren, Enter and a double click in the list
    void copyClicked();    // BTN_Kopieren
    void deleteClicked();  // BTN_Loeschen, Del in the list
    void clearClicked();   // BTN_Leeren
    void exportClicked();  // BTN_Exportieren
    void closeClicked();   // CancelButton, Esc, the frame's close box
    // A dialog's Enter and Esc.
    void okClicked() { runClicked(); }
    void cancelClicked() { closeClicked(); }

  private:
    void show();
    // The shown calls that are selected, the topmost first.
    std::vector<const CallEntry*> selected();
    void complain(std::string_view text, std::string_view reason);

    AnruflisteView& view_;
    AnruflistePlatform& platform_;
    std::vector<CallListRow> rows_;     // as shown, top down
    std::vector<std::uint64_t> shown_;  // their calls' keys
};

}  // namespace kw::ui
