#pragma once

#include <functional>
#include <utility>

#include "platform/win32/windows_api.h"
#include "ui/win32/modal_dialog.h"

namespace kw::winui {

// A dialog that implements a presenter's View and hands the presenter its buttons: OK and Enter
// to okClicked(); Cancel, Esc and the close box to cancelClicked(), or to okClicked() for a
// presenter without one. Without a presenter, OK and Cancel just close the dialog.
template <class Presenter, class View>
class PresenterDialog : public ModalDialog, public View {
  public:
    // Called once the dialog and its controls exist, before the presenter's load; returns the
    // presenter for the dialog's events (it must outlive run()), or null for none. The dialog
    // window is the owner for the presenter's message boxes and file dialogs.
    using Connect = std::function<Presenter*(HWND dialog)>;

    // Runs the dialog modally and returns when it has closed.
    void run(HWND owner, Connect connect) {
        connect_ = std::move(connect);
        presenter_ = nullptr;
        runModal(owner);
        presenter_ = nullptr;
    }

    void close() override { end(IDOK); }

  protected:
    explicit PresenterDialog(const DialogTable& table) : ModalDialog(table) {}

    Presenter* presenter() const { return presenter_; }

  private:
    void initialised() final {
        presenter_ = connect_ ? connect_(window()) : nullptr;
        if (presenter_ != nullptr) {
            presenter_->load();
        }
    }

    void ok() final {
        if (presenter_ == nullptr) {
            close();
        } else {
            presenter_->okClicked();
        }
    }

    void cancel() final {
        if (presenter_ == nullptr) {
            close();
        } else if constexpr (requires(Presenter & presenter) { presenter.cancelClicked(); }) {
            presenter_->cancelClicked();
        } else {
            presenter_->okClicked();
        }
    }

    Connect connect_;
    Presenter* presenter_ = nullptr;
};

}  // namespace kw::winui
