// Klingelwart for Windows: the main window hosts the softphone's phone control and waits for its
// call notification.
#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include "app/klingelwart_win_app.h"
#include "core/app_options.h"
#include "platform/win32/com/ole_apartment.h"
#include "platform/win32/named_mutex_instance_guard.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    // Decided before anything else exists: a second start ends silently, without a window.
    kw::win32::NamedMutexInstanceGuard guard(kw::kApplicationName);
    if (guard.previousInstanceRunning()) {
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                        ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // Without an apartment the phone control cannot be hosted; the program still runs, and the
    // phone's tooltip says why.
    const kw::win32::OleApartment apartment;

    kw::app::KlingelwartWinApp program(instance, guard);
    if (!program.start()) {
        return 0;
    }
    return program.run();
}
