#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "tests/win32/gui/poll_until.h"

namespace kw::win32::gui {

// A message box of another process as a user sees it.
struct SeenMessageBox {
    HWND window = nullptr;
    std::wstring text;
    std::vector<int> buttons;  // IDOK, IDYES, ... in creation order
    int defaultButton = 0;
    bool hasIcon = false;

    explicit operator bool() const { return window != nullptr; }
};

// The process's dialog window with exactly this caption, once it shows.
SeenMessageBox AwaitMessageBox(DWORD processId, const std::wstring& caption,
                               std::chrono::milliseconds patience = kPatience);

SeenMessageBox DescribeMessageBox(HWND box);

// Answers like a click on the button; the box closes on its own thread.
void AnswerMessageBox(HWND box, int button);

}  // namespace kw::win32::gui
