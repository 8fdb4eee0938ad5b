#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/win32/windows_api.h"
#include "tests/win32/gui/child_process.h"
#include "tests/win32/gui/message_box_probe.h"
#include "tests/win32/win32_test_util.h"

namespace kw::win32::gui {

// Klingelwart.exe and the recorder its action starts, copied beside the tests by the build.
std::filesystem::path KlingelwartProgram();
std::filesystem::path RecorderProgram();

// The exit question, word for word.
inline constexpr wchar_t kExitTitle[] = L"Klingelwart beenden";
inline constexpr wchar_t kExitQuestion[] = L"Möchten Sie die Anwendung tatsächlich beenden ?";

// One run of Klingelwart.exe with the registry as the test left it, up to its main window.
// The recorder started by the action writes to recordFile(). Ends the program when it goes out
// of scope: the exit question answered if it comes, killed if the program does not end.
// `program` is another copy of Klingelwart.exe, such as an installed one.
class KlingelwartSession {
  public:
    explicit KlingelwartSession(const std::filesystem::path& program = KlingelwartProgram());
    ~KlingelwartSession();
    KlingelwartSession(const KlingelwartSession&) = delete;
    KlingelwartSession& operator=(const KlingelwartSession&) = delete;

    bool ready() const { return main_ != nullptr; }
    HWND mainWindow() const { return main_; }
    DWORD processId() const { return process_.id(); }
    const ChildProcess& process() const { return process_; }
    const std::filesystem::path& recordFile() const { return recordFile_; }
    const std::filesystem::path& workDirectory() const { return dir_.path(); }

    // A control of the main window by its name in ui/win32/control_ids.h.
    HWND control(std::string_view name) const;
    std::wstring callerLine() const;
    bool actionEnabled() const;

    // The phone control's call notification, as the softphone gives it.
    bool ring(std::wstring_view caller, std::wstring_view called) const;
    bool awaitCallerLine(const std::wstring& expected) const;

    // Like a user: a click on a button, a menu command, a double click on the caller line.
    void click(std::string_view name) const;
    void menu(std::string_view name) const;
    void doubleClickCallerLine() const;

    // A dialog window ("#32770") of the program with this caption, once visible.
    HWND awaitDialog(const std::wstring& caption) const;
    SeenMessageBox awaitMessageBox(const std::wstring& caption) const;

    // WM_CLOSE, the exit question answered with Yes, and the exit awaited; true when it ended.
    bool end();

  private:
    test::TempDir dir_;
    std::filesystem::path recordFile_;
    test::ScopedEnv recordTo_;
    ChildProcess process_;
    HWND main_ = nullptr;
};

}  // namespace kw::win32::gui
