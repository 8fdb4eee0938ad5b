// The tips of the main window's controls, read from the running program, with the phone control
// in place.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/tooltip_text.h"

namespace kw::win32::gui {
namespace {

struct Tip {
    const char* control;
    std::optional<std::wstring> text;
    bool whole = true;  // else how the tip starts
};

TEST(Tooltips, NameTheCallerLineAndTheReadyPhoneOnly) {
    const Tip tips[] = {
        {"LBL_Anrufer", L"Ein Doppelklick löscht den letzten Anruf"},
        {"axPhoner1",
         L"Das Telefon-Steuerelement PhonerActiveX.axPhoner ist bereit und meldet eingehende "
         L"Anrufe.\r\nWartet auf Anrufe über klingelwart-ring (\\\\.\\pipe\\Klingelwart-",
         false},
        {"BTN_Db", std::nullopt},
        {"BTN_End", std::nullopt},
    };
    const OptionsRegistry registry;
    ASSERT_TRUE(registry.set(L"Start", L"2"));
    const KlingelwartSession session;
    ASSERT_TRUE(session.ready());
    for (const Tip& tip : tips) {
        SCOPED_TRACE(tip.control);
        const HWND control = session.control(tip.control);
        ASSERT_NE(control, nullptr);
        const auto text = TooltipTextOf(session.processId(), control);
        EXPECT_EQ(tip.whole || !text ? text : text->substr(0, tip.text->size()), tip.text);
    }
    EXPECT_EQ(TooltipTextOf(session.processId(), session.mainWindow()), std::nullopt);
}

}  // namespace
}  // namespace kw::win32::gui
