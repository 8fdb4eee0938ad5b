// The pictures for the README, taken only when KW_SCREENSHOT_DIR names a directory (a Unix path
// is taken as Wine's drive Z:). Needs a real screen: tools/wine-gui-screenshots.sh runs this
// under Xvfb with Wine's X11 driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/gui/window_capture.h"
#include "ui/win32/control_ids.h"

namespace kw::win32::gui {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> ScreenshotDirectory() {
    std::wstring value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"KW_SCREENSHOT_DIR", value.data(),
                                                 static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) {
        return std::nullopt;
    }
    value.resize(length);
    if (value.front() == L'/') {
        std::replace(value.begin(), value.end(), L'/', L'\\');
        value = L"Z:" + value;
    }
    return fs::path(value);
}

// Waits until the window shows something and has stopped changing, then saves it.
void Save(HWND window, const fs::path& file) {
    WindowPicture last;
    const bool settled = PollUntil([&] {
        WindowPicture now = CaptureWindow(window);
        const bool same = !now.uniform() && now == last;
        last = std::move(now);
        return same;
    });
    EXPECT_TRUE(settled) << "nothing painted in " << file;
    EXPECT_TRUE(SaveBitmap(last, file)) << file;
}

TEST(Screenshots, MainWindowOptionsAndInfo) {
    const std::optional<fs::path> directory = ScreenshotDirectory();
    if (!directory) {
        GTEST_SKIP() << "KW_SCREENSHOT_DIR is not set";
    }
    const OptionsRegistry registry;
    ASSERT_TRUE(registry.set(L"DoJob", L"1"));
    ASSERT_TRUE(registry.set(L"Shell", L"https://www.example.org/suche?nummer={AnrufNummer}"));
    ASSERT_TRUE(registry.set(L"Formatierung", L"1"));
    ASSERT_TRUE(registry.set(L"Start", L"3"));
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    ASSERT_TRUE(session.ring(L"(030) 1234567", L"4711"));
    ASSERT_TRUE(session.awaitCallerLine(L"Anruf von (030) 1234567 auf Leitung: 4711"));
    Save(session.mainWindow(), *directory / L"windows-main-window.bmp");

    session.menu("mnuOptionen");
    const HWND options = session.awaitDialog(L"Optionen");
    ASSERT_NE(options, nullptr);
    Save(options, *directory / L"windows-options-dialog.bmp");
    PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(options); }));

    session.menu("mnuInfo");
    const HWND info = session.awaitDialog(L"Info zu Klingelwart");
    ASSERT_NE(info, nullptr);
    Save(info, *directory / L"windows-about-dialog.bmp");
    PostMessageW(info, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(PollUntil([&] { return !IsWindow(info); }));
}

}  // namespace
}  // namespace kw::win32::gui
