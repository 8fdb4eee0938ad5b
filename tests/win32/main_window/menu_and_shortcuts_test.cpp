#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/main_screen_layout.h"
#include "ui/win32/accelerator_table.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/menu_bar.h"

namespace kw::winui {
namespace {

TEST(ShortcutKey, ReadsTheLayoutsNotation) {
    struct Case {
        const char* text;
        std::optional<ACCEL> key;
    };
    const Case cases[] = {
        {"Ctrl+L", ACCEL{FVIRTKEY | FCONTROL, 'L', 7}},
        {"Ctrl+F4", ACCEL{FVIRTKEY | FCONTROL, VK_F4, 7}},
        {"F1", ACCEL{FVIRTKEY, VK_F1, 7}},
        {"F24", ACCEL{FVIRTKEY, VK_F24, 7}},
        {"", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"F0", std::nullopt},
        {"F25", std::nullopt},
        {"F1x", std::nullopt},
        {"Ctrl+l", std::nullopt},  // the layout writes keys in capitals
        {"Shift+L", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<ACCEL> key = ShortcutKey(c.text, 7);
        ASSERT_EQ(key.has_value(), c.key.has_value());
        if (key) {
            EXPECT_EQ(key->fVirt, c.key->fVirt);
            EXPECT_EQ(key->key, c.key->key);
            EXPECT_EQ(key->cmd, 7);
        }
    }
}

TEST(ShortcutLabel, IsWrittenTheGermanWay) {
    EXPECT_EQ(ShortcutLabel("Ctrl+L"), L"Strg+L");
    EXPECT_EQ(ShortcutLabel("Ctrl+F4"), L"Strg+F4");
    EXPECT_EQ(ShortcutLabel("F1"), L"F1");
}

TEST(AcceleratorTable, HoldsTheFiveShortcutsOfTheMainWindow) {
    const AcceleratorTable table(ui::main_screen::kMenus);
    ASSERT_EQ(table.size(), 5);
    std::vector<ACCEL> keys(5);
    CopyAcceleratorTableW(table.get(), keys.data(), 5);
    const std::pair<WORD, const char*> expected[] = {{'L', "mnuDel"},
                                                     {'J', "mnuAnrufliste"},
                                                     {'O', "mnuOptionen"},
                                                     {VK_F4, "mnuBeenden"},
                                                     {VK_F1, "mnuHilfe"}};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].key, expected[i].first);
        EXPECT_EQ(keys[i].cmd, ControlId(expected[i].second));
    }
}

std::string MenuText(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return win32::WideToUtf8(text);
}

TEST(MenuBar, HasBothMenusWithTheirEntriesSeparatorsAndShortcuts) {
    HMENU bar = CreateMenuBar(ui::main_screen::kMenus);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuText(bar, 0), "&Datei");
    EXPECT_EQ(MenuText(bar, 1), "&?");

    struct Entry {
        const char* text;  // empty for a separator
        const char* name;
    };
    const Entry datei[] = {{"&Anruferfeld löschen\tStrg+L", "mnuDel"},
                           {"Anruf&liste ...\tStrg+J", "mnuAnrufliste"},
                           {"", nullptr},
                           {"&Optionen ...\tStrg+O", "mnuOptionen"},
                           {"Anruf&quellen ...", "mnuAnrufquellen"},
                           {"&Telefonbücher ...", "mnuTelefonbuecher"},
                           {"Anzeige und &Start ...", "mnuAnzeige"},
                           {"", nullptr},
                           {"&Beenden\tStrg+F4", "mnuBeenden"}};
    const Entry help[] = {{"&Hilfe ...\tF1", "mnuHilfe"}, {"", nullptr}, {"&Info ...", "mnuInfo"}};
    auto check = [](HMENU menu, const auto& entries) {
        ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(entries)));
        for (UINT i = 0; i < std::size(entries); ++i) {
            SCOPED_TRACE(i);
            const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
            if (entries[i].name == nullptr) {
                EXPECT_NE(state & MF_SEPARATOR, 0u);
                continue;
            }
            EXPECT_EQ(state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
            EXPECT_EQ(MenuText(menu, i), entries[i].text);
            EXPECT_EQ(static_cast<int>(GetMenuItemID(menu, static_cast<int>(i))),
                      ControlId(entries[i].name));
        }
    };
    check(GetSubMenu(bar, 0), datei);
    check(GetSubMenu(bar, 1), help);
    DestroyMenu(bar);
}

}  // namespace
}  // namespace kw::winui
