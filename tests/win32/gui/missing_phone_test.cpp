// The real program on a machine without the softphone: it still starts and works, and the phone
// box says why no calls will come.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/phone_ring.h"
#include "tests/win32/gui/process_windows.h"
#include "tests/win32/gui/substitute_phone_absence.h"
#include "tests/win32/gui/tooltip_text.h"

namespace kw::win32::gui {
namespace {

TEST(MissingPhone, StartsWorksAndEndsWithTheReasonOnThePhoneBox) {
    SubstitutePhoneAbsence absence;
    ASSERT_TRUE(absence.removed()) << "the substitute phone control was not registered";
    const OptionsRegistry registry;
    ASSERT_TRUE(registry.set(L"Start", L"2"));
    {
        KlingelwartSession session;
        ASSERT_TRUE(session.ready());
        EXPECT_EQ(TextOf(session.mainWindow()), L"Klingelwart (Version 2.0.0)");

        const HWND box = session.control("axPhoner1");
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(IsWindowVisible(box));
        EXPECT_EQ(FindPhone(session.mainWindow()), nullptr);
        // klingelwart-ring's pipe, on by default, follows on its own line.
        EXPECT_TRUE(TooltipTextOf(session.processId(), box)
                        .value_or(L"")
                        .starts_with(L"Das Telefon-Steuerelement PhonerActiveX.axPhoner ist nicht "
                                     L"installiert: Anrufe werden nicht gemeldet.\r\n"
                                     L"Wartet auf Anrufe über klingelwart-ring (\\\\.\\pipe\\"));

        session.menu("mnuOptionen");
        const HWND options = session.awaitDialog(L"Optionen");
        ASSERT_NE(options, nullptr);
        PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        EXPECT_TRUE(PollUntil([&] { return !IsWindow(options); }));
        EXPECT_TRUE(IsWindowEnabled(session.mainWindow()));

        session.menu("mnuBeenden");
        const SeenMessageBox question = session.awaitMessageBox(kExitTitle);
        ASSERT_TRUE(question);
        EXPECT_EQ(question.text, kExitQuestion);
        AnswerMessageBox(question.window, IDYES);
        EXPECT_EQ(session.process().awaitExit(), 0u);
    }
    EXPECT_TRUE(absence.restore());
}

}  // namespace
}  // namespace kw::win32::gui
