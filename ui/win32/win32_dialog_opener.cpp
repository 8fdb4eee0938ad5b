#include "ui/win32/win32_dialog_opener.h"

#include <optional>

#include "ui/info.h"
#include "ui/win32/win32_anrufliste_view.h"
#include "ui/win32/win32_anrufquellen_view.h"
#include "ui/win32/win32_anzeige_view.h"
#include "ui/win32/win32_info_view.h"
#include "ui/win32/win32_optionen_view.h"
#include "ui/win32/win32_telefonbuecher_view.h"

namespace kw::winui {
namespace {

// Forgets the open dialog however its run ends.
class OpenDialog {
  public:
    explicit OpenDialog(HWND& open) : open_(open) {}
    ~OpenDialog() { open_ = nullptr; }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

    void set(HWND dialog) { open_ = dialog; }

  private:
    HWND& open_;
};

// Runs a fresh View with its Presenter, made from `args` once the dialog exists, and keeps
// `open` on the dialog while it runs.
template <class View, class Presenter, class... Args>
void RunDialog(HWND owner, HWND& open, Args&... args) {
    View view;
    std::optional<Presenter> presenter;
    OpenDialog opened(open);
    view.run(owner, [&](HWND dialog) {
        opened.set(dialog);
        presenter.emplace(view, args...);
        return &*presenter;
    });
}

}  // namespace

void Win32DialogOpener::openOptionen() {
    RunDialog<Win32OptionenView, ui::Optionen>(owner(), open_, options_, optionen_);
}

void Win32DialogOpener::openInfo() {
    RunDialog<Win32InfoView, ui::Info>(owner(), open_, program_);
}

void Win32DialogOpener::openAnrufquellen() {
    if (anrufquellen_ != nullptr) {
        RunDialog<Win32AnrufquellenView, ui::Anrufquellen>(owner(), open_, *anrufquellen_);
    }
}

void Win32DialogOpener::openAnzeige() {
    if (anzeige_ != nullptr) {
        RunDialog<Win32AnzeigeView, ui::Anzeige>(owner(), open_, *anzeige_);
    }
}

void Win32DialogOpener::openTelefonbuecher() {
    if (telefonbuecher_ != nullptr) {
        RunDialog<Win32TelefonbuecherView, ui::Telefonbuecher>(owner(), open_, *telefonbuecher_);
    }
}

int Win32DialogOpener::openAnrufliste() {
    if (anrufliste_ == nullptr) {
        return 0;
    }
    RunDialog<Win32AnruflisteView, ui::Anrufliste>(owner(), open_, *anrufliste_);
    return static_cast<int>(ui::UnseenMissedCalls(anrufliste_->log, anrufliste_->store));
}

}  // namespace kw::winui
