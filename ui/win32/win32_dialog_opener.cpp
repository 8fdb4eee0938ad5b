#include "ui/win32/win32_dialog_opener.h"

#include <optional>

#include "platform/win32/win32_file_dialog.h"
#include "platform/win32/win32_message_box.h"
#include "ui/info.h"
#include "ui/optionen.h"
#include "ui/win32/win32_info_view.h"
#include "ui/win32/win32_optionen_view.h"

namespace kw::winui {

void Win32DialogOpener::openOptionen() {
    // The message boxes and the file dialog are modal to the options dialog, which only exists
    // once it runs; so they are made then, and live as long as the presenter.
    Win32OptionenView view;
    std::optional<win32::Win32MessageBox> messages;
    std::optional<win32::Win32FileDialog> fileDialog;
    std::optional<ui::OptionenPlatform> platform;
    std::optional<ui::Optionen> presenter;
    view.run(owner(), [&](HWND dialog) {
        messages.emplace(dialog);
        fileDialog.emplace(dialog);
        platform.emplace(ui::OptionenPlatform{store_, *messages, files_, *fileDialog});
        presenter.emplace(view, options_, *platform);
        return &*presenter;
    });
}

void Win32DialogOpener::openInfo() {
    Win32InfoView view;
    std::optional<ui::Info> presenter;
    view.run(owner(), [&](HWND) {
        presenter.emplace(view, program_);
        return &*presenter;
    });
}

}  // namespace kw::winui
