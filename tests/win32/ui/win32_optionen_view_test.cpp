// The options dialog run modally under Wine, with the presenter's platform faked: each test's
// steps run inside the dialog's own message loop and end it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_options.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_platform.h"
#include "tests/win32/ui/dialog_script.h"
#include "ui/optionen.h"
#include "ui/optionen_layout.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/twips.h"
#include "ui/win32/win32_optionen_view.h"
#include "ui/win32/window_text.h"

#include <commctrl.h>

namespace kw::winui {
namespace {

using test::ClientRectOf;
using test::DialogScript;

struct OptionenRig {
    kw::test::FakeSettingsStore store;
    kw::test::FakeMessageBox messages;
    kw::test::FakeFileSearch files;
    kw::test::FakeFileDialog fileDialog;
    AppOptions options;
    ui::OptionenPlatform platform{store, messages, files, fileDialog};
    Win32OptionenView view;
    ui::Optionen presenter{view, options, platform};

    void run(DialogScript& script) {
        view.run(nullptr, [&](HWND dialog) {
            script.attach(dialog);
            return &presenter;
        });
    }
};

HWND Item(HWND dialog, std::string_view name) {
    return GetDlgItem(dialog, ControlId(name));
}

std::string NameOf(HWND control) {
    const int id = GetDlgCtrlID(control);
    for (const ui::ControlLayout& entry : ui::optionen::kControls) {
        if (entry.id == id) {
            return std::string(entry.name);
        }
    }
    return "?";
}

// The tab stops in the order Tab visits them, from the first.
std::vector<std::string> TabCycle(HWND dialog) {
    std::vector<std::string> names;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at != nullptr && names.size() < 40;) {
        names.push_back(NameOf(at));
        at = GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first) {
            break;
        }
    }
    return names;
}

void TurnTo(HWND dialog, int page) {
    HWND tabs = Item(dialog, "TabDialog");
    SendMessageW(tabs, TCM_SETCURSEL, page, 0);
    NMHDR header{tabs, static_cast<UINT_PTR>(ControlId("TabDialog")),
                 static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

bool Visible(HWND dialog, std::string_view name) {
    return IsWindowVisible(Item(dialog, name)) != FALSE;
}

bool TabStop(HWND dialog, std::string_view name) {
    return (GetWindowLongPtrW(Item(dialog, name), GWL_STYLE) & WS_TABSTOP) != 0;
}

TEST(Win32OptionenView, PlacesTheDialogAndEveryControlAtItsTwips) {
    OptionenRig rig;
    DialogScript script([&](HWND dialog) {
        const int dpi = WindowDpi(dialog);
        auto px = [dpi](int twips) { return ui::TwipsToPixels(twips, dpi); };
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, px(8400));
        EXPECT_EQ(client.bottom, px(7110));
        POINT corner{0, 0};
        ClientToScreen(dialog, &corner);
        EXPECT_EQ(corner.x, px(2760));
        EXPECT_EQ(corner.y, px(3750));
        EXPECT_EQ(WindowText(dialog), L"Optionen");
        const LONG_PTR style = GetWindowLongPtrW(dialog, GWL_STYLE);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
        EXPECT_NE(style & WS_SYSMENU, 0);

        // Window coordinates in twips: tab pages add the tab control's corner, frames their own.
        struct Case {
            std::string_view name;
            int left, top, width, height;
        };
        const Case cases[] = {
            {"Label1", 360, 240, 7695, 495},          {"TabDialog", 360, 840, 7695, 3975},
            {"TXT_Db", 600, 1800, 6255, 375},         {"BTN_FileSelect", 7080, 1800, 615, 375},
            {"Frame1", 600, 3360, 7095, 1095},        {"OPT_Beide", 720, 3960, 3735, 255},
            {"TXT_Shell", 600, 1920, 7095, 375},      {"BTN_ShowShell", 2640, 3840, 2655, 495},
            {"OPT_ShowAlways", 480, 6000, 3855, 375}, {"OPT_NurZahlen", 4800, 5760, 3135, 375},
            {"CancelButton", 5520, 6600, 1215, 375},  {"OKButton", 6840, 6600, 1215, 375},
        };
        for (const Case& c : cases) {
            const RECT got = ClientRectOf(Item(dialog, c.name));
            EXPECT_EQ(got.left, px(c.left)) << c.name;
            EXPECT_EQ(got.top, px(c.top)) << c.name;
            EXPECT_EQ(got.right, px(c.left + c.width)) << c.name;
            EXPECT_EQ(got.bottom, px(c.top + c.height)) << c.name;
        }

        HWND tabs = Item(dialog, "TabDialog");
        ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
        wchar_t caption[64]{};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 64;
        SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(caption, L"&Shell-Anwendung starten");
        RECT tab{};
        SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
        EXPECT_EQ(tab.bottom - tab.top, px(ui::optionen::kTabHeight));
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32OptionenView, TabOrderFollowsTheLayoutOnEachPage) {
    OptionenRig rig;
    rig.store.set(key::kDoJob, "0");
    rig.store.set(key::kParameter, "1");
    rig.store.set(key::kStart, "2");
    rig.store.set(key::kFormatierung, "1");
    DialogScript script([&](HWND dialog) {
        // Option groups are entered at their selected button; hidden pages drop out.
        EXPECT_EQ(TabCycle(dialog),
                  (std::vector<std::string>{"TabDialog", "TXT_Db", "TXT_Proc", "OPT_Beide",
                                            "CancelButton", "OKButton", "OPT_NurZahlen",
                                            "BTN_FileSelect", "OPT_ShowNormal"}));
        EXPECT_EQ(GetFocus(), Item(dialog, "TabDialog"));
        EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), IDOK);
        TurnTo(dialog, 1);
        EXPECT_EQ(TabCycle(dialog),
                  (std::vector<std::string>{"TabDialog", "TXT_Shell", "BTN_Anrufer", "BTN_MSN",
                                            "BTN_ShowShell", "CancelButton", "OKButton",
                                            "OPT_NurZahlen", "OPT_ShowNormal"}));
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32OptionenView, PagesShowOnlyTheirControlsAndTakeTheFocusAlong) {
    OptionenRig rig;
    rig.store.set(key::kDoJob, "1");  // opens on the shell page
    DialogScript script([&](HWND dialog) {
        struct Case {
            std::string_view name;
            bool onDatabasePage, onShellPage;
        };
        const Case cases[] = {
            {"TXT_Db", true, false},      {"Frame1", true, false},  {"OPT_NurAnrufer", true, false},
            {"TXT_Shell", false, true},   {"BTN_MSN", false, true}, {"Label1", true, true},
            {"OPT_Original", true, true}, {"OKButton", true, true},
        };
        EXPECT_EQ(rig.view.currentTab(), ui::OptionenTab::Shell);
        for (const Case& c : cases) {
            EXPECT_EQ(Visible(dialog, c.name), c.onShellPage) << c.name;
        }
        TurnTo(dialog, 0);
        EXPECT_EQ(rig.view.currentTab(), ui::OptionenTab::Datenbank);
        for (const Case& c : cases) {
            EXPECT_EQ(Visible(dialog, c.name), c.onDatabasePage) << c.name;
        }
        // A control that is hidden with its page must not keep the focus.
        rig.view.focus(ui::OptionenText::Db);
        EXPECT_EQ(GetFocus(), Item(dialog, "TXT_Db"));
        rig.view.showTab(ui::OptionenTab::Shell);
        EXPECT_EQ(GetFocus(), Item(dialog, "TabDialog"));
        EXPECT_TRUE(Visible(dialog, "TXT_Shell"));
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32OptionenView, AltWithATabCaptionsAccessKeyTurnsToThatPage) {
    OptionenRig rig;
    rig.store.set(key::kDoJob, "0");
    constexpr LPARAM kAltDown = 1 << 29;
    DialogScript script({
        [](HWND) { PostMessageW(GetFocus(), WM_SYSCHAR, L's', kAltDown); },
        [&](HWND dialog) {
            EXPECT_EQ(rig.view.currentTab(), ui::OptionenTab::Shell);
            EXPECT_TRUE(Visible(dialog, "TXT_Shell"));
            PostMessageW(GetFocus(), WM_SYSCHAR, L'D', kAltDown);
        },
        [&](HWND dialog) {
            EXPECT_EQ(rig.view.currentTab(), ui::OptionenTab::Datenbank);
            EXPECT_FALSE(Visible(dialog, "TXT_Shell"));
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        },
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
    EXPECT_FALSE(script.forced()) << "Cancel closes the dialog";
}

TEST(Win32OptionenView, OptionGroupsMayShowNoSelectionAndTabStopsFollowTheChoice) {
    using enum ui::OptionGroup;
    OptionenRig rig;  // an empty store: no start mode yet
    DialogScript script([&](HWND dialog) {
        EXPECT_EQ(rig.view.choice(Start), std::nullopt);
        for (std::string_view name : {"OPT_ShowMinimized", "OPT_ShowNormal", "OPT_ShowAlways"}) {
            EXPECT_EQ(SendMessageW(Item(dialog, name), BM_GETCHECK, 0, 0), BST_UNCHECKED) << name;
        }
        EXPECT_TRUE(TabStop(dialog, "OPT_ShowMinimized"));

        SendMessageW(Item(dialog, "OPT_ShowAlways"), BM_CLICK, 0, 0);
        EXPECT_EQ(rig.view.choice(Start), 3);
        EXPECT_TRUE(TabStop(dialog, "OPT_ShowAlways"));
        EXPECT_FALSE(TabStop(dialog, "OPT_ShowMinimized"));

        // A click in one group leaves the others alone.
        rig.view.setChoice(Parameter, 1);
        rig.view.setChoice(Format, 0);
        SendMessageW(Item(dialog, "OPT_NurAnrufer"), BM_CLICK, 0, 0);
        EXPECT_EQ(rig.view.choice(Parameter), 0);
        EXPECT_EQ(rig.view.choice(Format), 0);
        EXPECT_EQ(rig.view.choice(Start), 3);

        rig.view.setChoice(Parameter, std::nullopt);
        rig.view.setChoice(Start, 7);  // no button has it
        rig.view.setChoice(Format, std::nullopt);
        EXPECT_EQ(rig.view.choice(Parameter), std::nullopt);
        EXPECT_EQ(rig.view.choice(Start), std::nullopt);
        EXPECT_EQ(rig.view.choice(Format), std::nullopt);
        EXPECT_TRUE(TabStop(dialog, "OPT_ShowMinimized"));
        EXPECT_FALSE(TabStop(dialog, "OPT_ShowAlways"));
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32OptionenView, TextsOfAnyLengthAndContentRoundTrip) {
    OptionenRig rig;
    DialogScript script([&](HWND dialog) {
        // Users may type without limit, not only the program set long texts.
        for (std::string_view name : {"TXT_Db", "TXT_Proc", "TXT_Shell"}) {
            EXPECT_GE(SendMessageW(Item(dialog, name), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE) << name;
        }
        const std::string texts[] = {
            "",
            "C:\\Daten\\Kunden & Co \"alt\".mdb",
            "Grüße 📞 電話 שלום",
            std::string(100000, 'x'),
        };
        for (const std::string& text : texts) {
            for (ui::OptionenText box :
                 {ui::OptionenText::Db, ui::OptionenText::Proc, ui::OptionenText::Shell}) {
                rig.view.setText(box, text);
                EXPECT_EQ(rig.view.text(box), text) << text.substr(0, 30);
            }
        }
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
}

TEST(Win32OptionenView, ButtonsReachThePresenter) {
    OptionenRig rig;
    rig.store.set(key::kDoJob, "1");
    rig.store.set(key::kShell, "start ");
    rig.fileDialog.chosen = "C:\\Daten\\kunden.mdb";
    DialogScript script([&](HWND dialog) {
        test::Click(dialog, ControlId("BTN_Anrufer"));
        EXPECT_EQ(GetFocus(), Item(dialog, "TXT_Shell"));
        test::Click(dialog, ControlId("BTN_MSN"));
        const std::string shell = rig.view.text(ui::OptionenText::Shell);
        EXPECT_GT(shell.size(), std::string("start ").size());

        test::Click(dialog, ControlId("BTN_ShowShell"));
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].title, ui::optionen::kExampleTitle);

        test::Click(dialog, ControlId("BTN_FileSelect"));
        EXPECT_EQ(rig.view.text(ui::OptionenText::Db), "C:\\Daten\\kunden.mdb");
        EXPECT_EQ(GetFocus(), Item(dialog, "TXT_Db"));
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
    EXPECT_TRUE(rig.store.writtenKeys.empty()) << "only OK writes";
}

TEST(Win32OptionenView, EnterIsOkAndStaysOpenOnARefusedCheck) {
    OptionenRig rig;
    rig.store.set(key::kDoJob, "0");
    DialogScript script({
        [&](HWND dialog) {
            rig.view.focus(ui::OptionenText::Proc);
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
            (void)dialog;
        },
        [&](HWND dialog) {
            ASSERT_EQ(rig.messages.shown.size(), 1u);
            EXPECT_EQ(rig.messages.shown[0].title, ui::optionen::kNoDatabase.title);
            EXPECT_TRUE(IsWindowVisible(dialog));
            rig.view.setText(ui::OptionenText::Db, "C:\\k.mdb");
            rig.view.setText(ui::OptionenText::Proc, "Anruf");
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
        },
    });
    rig.run(script);
    EXPECT_TRUE(script.ran());
    EXPECT_FALSE(script.forced()) << "a passed OK closes the dialog";
    EXPECT_EQ(rig.options.Database, "C:\\k.mdb");
    EXPECT_EQ(rig.options.Procedure, "Anruf");
}

TEST(Win32OptionenView, EscAndTheCloseBoxCancelWithoutWriting) {
    for (const bool closeBox : {false, true}) {
        OptionenRig rig;
        DialogScript script([&](HWND dialog) {
            rig.view.setText(ui::OptionenText::Shell, "verworfen");
            if (closeBox) {
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            } else {
                PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
            }
        });
        rig.run(script);
        EXPECT_TRUE(script.ran());
        EXPECT_FALSE(script.forced()) << (closeBox ? "close box" : "Esc");
        EXPECT_TRUE(rig.store.writtenKeys.empty());
    }
}

}  // namespace
}  // namespace kw::winui
