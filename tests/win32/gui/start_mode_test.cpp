// How the real program places its main window at start, for each stored start mode.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/win32/gui/klingelwart_session.h"
#include "tests/win32/gui/options_registry.h"
#include "tests/win32/gui/process_windows.h"

namespace kw::win32::gui {
namespace {

struct StartCase {
    std::optional<std::wstring> start;
    bool iconic;
    bool topmost;
};

TEST(StartMode, FollowsTheStoredValueAndTakesOnlyExactValues) {
    const StartCase cases[] = {
        {L"1", true, false},         {L"2", false, false}, {L"3", false, true},
        {std::nullopt, false, true}, {L"7", false, true},  {L" 2", false, true},
        {L"02", false, true},        {L"", false, true},
    };
    const OptionsRegistry registry;
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.start ? testing::PrintToString(*c.start) : "absent");
        registry.clear();
        if (c.start) {
            ASSERT_TRUE(registry.set(L"Start", *c.start));
        }
        const KlingelwartSession session;
        ASSERT_TRUE(session.ready());
        const HWND window = session.mainWindow();
        EXPECT_TRUE(PollUntil([&] {
            return (IsIconic(window) != FALSE) == c.iconic && IsTopmost(window) == c.topmost;
        })) << "iconic "
            << IsIconic(window) << ", topmost " << IsTopmost(window);
        if (!c.iconic) {
            RECT outer{};
            GetWindowRect(window, &outer);
            EXPECT_EQ(outer.left, 0);
            EXPECT_EQ(outer.top, 0);
        }
    }
}

}  // namespace
}  // namespace kw::win32::gui
