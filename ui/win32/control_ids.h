#pragma once

#include <array>
#include <string_view>

namespace kw::winui {

// The window classes of the program's own windows; the dialogs are standard dialog windows
// ("#32770") found by their captions.
inline constexpr wchar_t kMainWindowClass[] = L"KlingelwartMainScreen";

// Every control and menu command by its designer name. The identifiers are the views' and the
// GUI tests' common way to find a control; OK and Cancel use the dialog manager's own.
struct NamedId {
    std::string_view name;
    int id;
};

inline constexpr int kIdOk = 1;      // IDOK: Enter
inline constexpr int kIdCancel = 2;  // IDCANCEL: Esc and the close box

inline constexpr std::array kControlIds{
    // main window
    NamedId{"LBL_Anrufer", 1001},
    NamedId{"BTN_Db", 1002},
    NamedId{"axPhoner1", 1003},
    NamedId{"BTN_End", 1004},
    // main window menu commands
    NamedId{"mnuDel", 2001},
    NamedId{"mnuOptionen", 2002},
    NamedId{"mnuBeenden", 2003},
    NamedId{"mnuHilfe", 2004},
    NamedId{"mnuInfo", 2005},
    // options dialog
    NamedId{"Label1", 3001},
    NamedId{"TabDialog", 3002},
    NamedId{"Label2", 3003},
    NamedId{"TXT_Db", 3004},
    NamedId{"BTN_FileSelect", 3005},
    NamedId{"Label3", 3006},
    NamedId{"TXT_Proc", 3007},
    NamedId{"Frame1", 3008},
    NamedId{"OPT_NurAnrufer", 3009},
    NamedId{"OPT_Beide", 3010},
    NamedId{"Label4", 3011},
    NamedId{"TXT_Shell", 3012},
    NamedId{"BTN_Anrufer", 3013},
    NamedId{"BTN_MSN", 3014},
    NamedId{"BTN_ShowShell", 3015},
    NamedId{"Frame2", 3016},
    NamedId{"OPT_ShowMinimized", 3017},
    NamedId{"OPT_ShowNormal", 3018},
    NamedId{"OPT_ShowAlways", 3019},
    NamedId{"Frame3", 3020},
    NamedId{"OPT_Original", 3021},
    NamedId{"OPT_NurZahlen", 3022},
    NamedId{"CancelButton", kIdCancel},
    NamedId{"OKButton", kIdOk},
    // about dialog
    NamedId{"picIcon", 4001},
    NamedId{"lblTitle", 4002},
    NamedId{"lblVersion", 4003},
    NamedId{"lblDescription", 4004},
    NamedId{"lblDisclaimer", 4005},
    NamedId{"cmdOK", kIdOk},
};

// The identifier of a control or menu command; 0 for a name that has none.
constexpr int ControlId(std::string_view name) {
    for (const NamedId& entry : kControlIds) {
        if (entry.name == name) {
            return entry.id;
        }
    }
    return 0;
}

}  // namespace kw::winui
