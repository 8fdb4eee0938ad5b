#include "tests/win32/gui/klingelwart_session.h"

#include "tests/win32/gui/phone_ring.h"
#include "tests/win32/gui/process_windows.h"
#include "ui/win32/control_ids.h"

namespace kw::win32::gui {

namespace {

constexpr std::chrono::milliseconds kEndPatience{5000};

}  // namespace

std::filesystem::path KlingelwartProgram() {
    return test::ProgramDirectory() / L"Klingelwart.exe";
}

std::filesystem::path RecorderProgram() {
    return test::ProgramDirectory() / L"kw_win_argv_recorder.exe";
}

KlingelwartSession::KlingelwartSession(const std::filesystem::path& program)
    : recordFile_(dir_.path() / L"record"),
      recordTo_(L"KW_RECORD_FILE", recordFile_.wstring()),
      process_(program) {
    if (process_.started()) {
        main_ = PollFor([&] {
            const HWND window = FindTopWindow(process_.id(), winui::kMainWindowClass);
            return window != nullptr && IsWindowVisible(window) ? window : nullptr;
        });
    }
}

KlingelwartSession::~KlingelwartSession() {
    end();
}

HWND KlingelwartSession::control(std::string_view name) const {
    const int id = winui::ControlId(name);
    return main_ != nullptr && id != 0 ? FindDescendant(main_, id) : nullptr;
}

std::wstring KlingelwartSession::callerLine() const {
    return TextOf(control("LBL_Anrufer"));
}

bool KlingelwartSession::actionEnabled() const {
    return IsWindowEnabled(control("BTN_Db")) != FALSE;
}

bool KlingelwartSession::ring(std::wstring_view caller, std::wstring_view called) const {
    return RingPhone(main_, caller, called);
}

bool KlingelwartSession::awaitCallerLine(const std::wstring& expected) const {
    return PollUntil([&] { return callerLine() == expected; });
}

void KlingelwartSession::click(std::string_view name) const {
    PostMessageW(control(name), BM_CLICK, 0, 0);
}

void KlingelwartSession::menu(std::string_view name) const {
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(winui::ControlId(name), 0), 0);
}

void KlingelwartSession::doubleClickCallerLine() const {
    const HWND line = control("LBL_Anrufer");
    const LPARAM point = MAKELPARAM(4, 4);
    PostMessageW(line, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(line, WM_LBUTTONUP, 0, point);
    PostMessageW(line, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageW(line, WM_LBUTTONUP, 0, point);
}

HWND KlingelwartSession::awaitDialog(const std::wstring& caption) const {
    return PollFor([&] {
        const HWND dialog = FindTopWindow(process_.id(), L"#32770", caption);
        return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
    });
}

SeenMessageBox KlingelwartSession::awaitMessageBox(const std::wstring& caption) const {
    return AwaitMessageBox(process_.id(), caption);
}

bool KlingelwartSession::end() {
    if (!process_.running()) {
        return true;
    }
    if (main_ != nullptr) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        const bool ended = PollUntil(
            [&] {
                const HWND question = FindTopWindow(process_.id(), L"#32770", kExitTitle);
                if (question != nullptr) {
                    AnswerMessageBox(question, IDYES);
                }
                return !process_.running();
            },
            kEndPatience);
        if (ended) {
            return true;
        }
    }
    process_.kill();
    return false;
}

}  // namespace kw::win32::gui
