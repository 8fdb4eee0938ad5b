#pragma once

#include "platform/win32/windows_api.h"

namespace kw::winui {

// Receives a dialog's keyboard messages before the dialog manager does.
class DialogKeys {
  public:
    virtual ~DialogKeys() = default;
    // True when the key was used; the dialog manager then never sees it.
    virtual bool filterKey(const MSG& message) = 0;
};

// For its lifetime, lets a modal dialog of this thread see its keys first: keys the dialog
// manager would otherwise spend (Ctrl+Tab) or pass to the system menu (Alt+letter). Other
// dialogs of the thread, message boxes and file dialogs among them, are left alone.
class DialogKeyFilter {
  public:
    DialogKeyFilter();
    ~DialogKeyFilter();
    DialogKeyFilter(const DialogKeyFilter&) = delete;
    DialogKeyFilter& operator=(const DialogKeyFilter&) = delete;

    // Routes the dialog's keys to `keys` until the dialog is destroyed or this is called again
    // with null.
    static void Route(HWND dialog, DialogKeys* keys);

  private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_ = nullptr;
};

}  // namespace kw::winui
