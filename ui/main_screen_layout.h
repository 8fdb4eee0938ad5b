#pragma once

#include <array>

#include "ui/layout.h"

namespace kw::ui::main_screen {

inline constexpr WindowLayout kWindow{"MainScreen", "", 5640, 1185, 0, 0};

inline constexpr std::string_view kCallerLineTooltip = "Ein Doppelklick löscht den letzten Anruf";

inline constexpr std::array kControls{
    ControlLayout{.name = "LBL_Anrufer",
                  .id = 1001,
                  .kind = ControlKind::Label,
                  .rect = {120, 120, 5415, 375},
                  .font = {.points = 9.75, .bold = true},
                  .tooltip = kCallerLineTooltip,
                  .border = true,
                  .centred = true},
    ControlLayout{.name = "BTN_Db",
                  .id = 1002,
                  .kind = ControlKind::Button,
                  .rect = {120, 600, 3135, 495},
                  .tabIndex = 1,
                  .enabled = false},
    ControlLayout{.name = "axPhoner1",
                  .id = 1003,
                  .kind = ControlKind::PhoneControl,
                  .rect = {3600, 600, 375, 375}},
    ControlLayout{.name = "BTN_End",
                  .id = 1004,
                  .kind = ControlKind::Button,
                  .rect = {4080, 600, 1455, 495},
                  .caption = "&Beenden",
                  .tabIndex = 2},
    // Below the phone control, in the gap beside the end button.
    ControlLayout{.name = "LBL_Verpasst",
                  .id = 1005,
                  .kind = ControlKind::Label,
                  .rect = {3270, 990, 795, 195},
                  .font = {.points = 6.75}},
};

inline constexpr std::array kMenus{
    MenuEntry{"mnuDatei", 0, "&Datei", "", ""},
    MenuEntry{"mnuDel", 2001, "&Anruferfeld löschen", "mnuDatei", "Ctrl+L"},
    MenuEntry{"mnuAnrufliste", 2011, "Anruf&liste ...", "mnuDatei", "Ctrl+J"},
    MenuEntry{"mnuTrenn1", 0, "-", "mnuDatei", ""},
    MenuEntry{"mnuOptionen", 2002, "&Optionen ...", "mnuDatei", "Ctrl+O"},
    MenuEntry{"mnuAnrufquellen", 2006, "Anruf&quellen ...", "mnuDatei", ""},
    MenuEntry{"mnuTelefonbuecher", 2012, "&Telefonbücher ...", "mnuDatei", ""},
    MenuEntry{"mnuAnzeige", 2010, "Anzeige und &Start ...", "mnuDatei", ""},
    MenuEntry{"mnuTrenn2", 0, "-", "mnuDatei", ""},
    MenuEntry{"mnuBeenden", 2003, "&Beenden", "mnuDatei", "Ctrl+F4"},
    MenuEntry{"mnuHelp", 0, "&?", "", ""},
    MenuEntry{"mnuHilfe", 2004, "&Hilfe ...", "mnuHelp", "F1"},
    MenuEntry{"mnuTrenn3", 0, "-", "mnuHelp", ""},
    MenuEntry{"mnuInfo", 2005, "&Info ...", "mnuHelp", ""},
};

static_assert(HasDistinctIds(kControls, kMenus));

inline constexpr std::string_view kShellActionCaption = "&Anwendung starten";
inline constexpr std::string_view kDatabaseActionCaption = "&Anrufer-Info anzeigen";

inline constexpr std::string_view kExitQuestion = "Möchten Sie die Anwendung tatsächlich beenden ?";
inline constexpr std::string_view kExitTitle = "Klingelwart beenden";

inline constexpr std::string_view kHelpFileName = "KLINGELWART2.chm";

}  // namespace kw::ui::main_screen
