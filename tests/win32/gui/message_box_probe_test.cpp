// The probe's own check: message boxes of another thread, read and answered from outside the way
// the tests treat Klingelwart's boxes.
#include "tests/win32/gui/message_box_probe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace kw::win32::gui {
namespace {

struct BoxCase {
    std::wstring text;
    UINT style;
    std::vector<int> buttons;
    int defaultButton;
    int answer;
};

TEST(MessageBoxProbe, ReadsTextButtonsAndDefaultAndAnswers) {
    const BoxCase cases[] = {
        {L"Möchten Sie & \"das\"\r\nwirklich ?",
         MB_YESNO | MB_ICONQUESTION,
         {IDYES, IDNO},
         IDYES,
         IDNO},
        {L"", MB_OK | MB_ICONSTOP, {IDOK}, IDOK, IDOK},
        {std::wstring(3000, L'x'), MB_YESNO | MB_DEFBUTTON2, {IDYES, IDNO}, IDNO, IDYES},
        {L"&&&", MB_OKCANCEL | MB_ICONINFORMATION, {IDOK, IDCANCEL}, IDOK, IDCANCEL},
    };
    const std::wstring caption = L"Probe " + std::to_wstring(GetCurrentProcessId());
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 30));
        std::promise<int> result;
        std::atomic<DWORD> ownerId{0};
        std::thread owner([&] {
            ownerId = GetCurrentThreadId();
            result.set_value(MessageBoxW(nullptr, c.text.c_str(), caption.c_str(), c.style));
        });
        const SeenMessageBox seen = AwaitMessageBox(GetCurrentProcessId(), caption);
        if (seen) {
            EXPECT_EQ(seen.text, c.text);
            EXPECT_EQ(seen.buttons, c.buttons);
            EXPECT_EQ(seen.defaultButton, c.defaultButton);
            EXPECT_EQ(seen.hasIcon, (c.style & MB_ICONMASK) != 0);
            // Another caption, even a prefix of this one, is another box.
            EXPECT_FALSE(AwaitMessageBox(GetCurrentProcessId(), caption.substr(0, 5),
                                         std::chrono::milliseconds(50)));
            AnswerMessageBox(seen.window, c.answer);
        }
        auto answered = result.get_future();
        if (!seen || answered.wait_for(kPatience) != std::future_status::ready) {
            ADD_FAILURE() << "the box was not found or did not close";
            PostThreadMessageW(ownerId, WM_QUIT, 0, 0);
        }
        owner.join();
        if (seen) {
            EXPECT_EQ(answered.get(), c.answer);
        }
    }
}

}  // namespace
}  // namespace kw::win32::gui
