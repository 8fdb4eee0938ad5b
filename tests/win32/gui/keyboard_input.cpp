#include "tests/win32/gui/keyboard_input.h"

#include <vector>

#include "tests/win32/gui/poll_until.h"

namespace kw::win32::gui {

namespace {

INPUT Key(WORD key, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

bool PressKeys(HWND window, std::initializer_list<WORD> keys) {
    const bool inFront = PollUntil([&] {
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    });
    if (!inFront) {
        return false;
    }
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        inputs.push_back(Key(key, false));
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        inputs.push_back(Key(*key, true));
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

}  // namespace kw::win32::gui
