#include "ui/win32/win32_dialog_opener.h"

#include <optional>

#include "ui/info.h"
#include "ui/win32/win32_anrufliste_view.h"
#include "ui/win32/win32_anrufquellen_view.h"
#include "ui/win32/win32_info_view.h"
#include "ui/win32/win32_optionen_view.h"

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

}  // namespace

void Win32DialogOpener::openOptionen() {
    Win32OptionenView view;
    std::optional<ui::Optionen> presenter;
    OpenDialog open(open_);
    view.run(owner(), [&](HWND dialog) {
        open.set(dialog);
        presenter.emplace(view, options_, optionen_);
        return &*presenter;
    });
}

void Win32DialogOpener::openInfo() {
    Win32InfoView view;
    std::optional<ui::Info> presenter;
    OpenDialog open(open_);
    view.run(owner(), [&](HWND dialog) {
        open.set(dialog);
        presenter.emplace(view, program_);
        return &*presenter;
    });
}

void Win32DialogOpener::openAnrufquellen() {
    if (anrufquellen_ == nullptr) {
        return;
    }
    Win32AnrufquellenView view;
    std::optional<ui::Anrufquellen> presenter;
    OpenDialog open(open_);
    view.run(owner(), [&](HWND dialog) {
        open.set(dialog);
        presenter.emplace(view, *anrufquellen_);
        return &*presenter;
    });
}

int Win32DialogOpener::openAnrufliste() {
    if (anrufliste_ == nullptr) {
        return 0;
    }
    {
        Win32AnruflisteView view;
        std::optional<ui::Anrufliste> presenter;
        OpenDialog open(open_);
        view.run(owner(), [&](HWND dialog) {
            open.set(dialog);
            presenter.emplace(view, *anrufliste_);
            return &*presenter;
        });
    }
    return static_cast<int>(ui::UnseenMissedCalls(anrufliste_->log, anrufliste_->store));
}

}  // namespace kw::winui
