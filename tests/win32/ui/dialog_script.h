#pragma once

#include <functional>
#include <vector>

#include "platform/win32/windows_api.h"

namespace kw::winui::test {

// Runs a test's steps inside a modal dialog's own message loop, once the dialog is up: each
// step starts from a message posted to the dialog, so it runs after everything the step before
// posted (keys, clicks). Whatever the steps leave open (a failed assertion returns early), the
// dialog is ended afterwards, so a test never waits for a user.
class DialogScript {
  public:
    using Step = std::function<void(HWND dialog)>;

    explicit DialogScript(std::vector<Step> steps) : steps_(std::move(steps)) {}
    explicit DialogScript(Step step) : steps_{std::move(step)} {}
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // Call from the view's connect callback; the script must outlive the dialog.
    void attach(HWND dialog);

    // True when every step ran.
    bool ran() const { return next_ == steps_.size(); }
    // True when the dialog was still open after the steps and had to be ended by force.
    bool forced() const { return forced_; }

  private:
    static LRESULT CALLBACK Hook(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR self);

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    bool forced_ = false;
};

// Sends a click on a dialog button the way the button itself reports one.
void Click(HWND dialog, int id);

// Where a control lies in its dialog's client area.
RECT ClientRectOf(HWND control);

}  // namespace kw::winui::test
