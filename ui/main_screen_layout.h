#pragma once

#include <array>

#include "ui/layout.h"

namespace kw::ui::main_screen {

inline constexpr WindowLayout kWindow{"MainScreen", "", 5640, 1185, 0, 0};

inline constexpr std::string_view kCallerLineTooltip = "Ein Doppelklick löscht den letzten Anruf";

inline constexpr std::array kControls{
    ControlLayout{.name = "LBL_Anrufer",
                  .kind = ControlKind::Label,
                  .rect = {120, 120, 5415, 375},
                  .font = {.points = 9.75, .bold = true},
                  .tooltip = kCallerLineTooltip,
                  .border = true,
                  .centred = true},
    ControlLayout{.name = "BTN_Db",
                  .kind = ControlKind::Button,
                  .rect = {120, 600, 3135, 495},
                  .tabIndex = 1,
                  .enabled = false},
    ControlLayout{
        .name = "axPhoner1", .kind = ControlKind::PhoneControl, .rect = {3600, 600, 375, 375}},
    ControlLayout{.name = "BTN_End",
                  .kind = ControlKind::Button,
                  .rect = {4080, 600, 1455, 495},
                  .caption = "&Beenden",
                  .tabIndex = 2},
};

inline constexpr std::array kMenus{
    MenuEntry{"mnuDatei", "&Datei", "", ""},
    MenuEntry{"mnuDel", "&Anruferfeld löschen", "mnuDatei", "Ctrl+L"},
    MenuEntry{"mnuTrenn1", "-", "mnuDatei", ""},
    MenuEntry{"mnuOptionen", "&Optionen ...", "mnuDatei", "Ctrl+O"},
    MenuEntry{"mnuTrenn2", "-", "mnuDatei", ""},
    MenuEntry{"mnuBeenden", "&Beenden", "mnuDatei", "Ctrl+F4"},
    MenuEntry{"mnuHelp", "&?", "", ""},
    MenuEntry{"mnuHilfe", "&Hilfe ...", "mnuHelp", "F1"},
    MenuEntry{"mnuTrenn3", "-", "mnuHelp", ""},
    MenuEntry{"mnuInfo", "&Info ...", "mnuHelp", ""},
};

inline constexpr std::string_view kShellActionCaption = "&Anwendung starten";
inline constexpr std::string_view kDatabaseActionCaption = "&Anrufer-Info anzeigen";

inline constexpr std::string_view kExitQuestion = "Möchten Sie die Anwendung tatsächlich beenden ?";
inline constexpr std::string_view kExitTitle = "Klingelwart beenden";

inline constexpr std::string_view kHelpFileName = "KLINGELWART2.chm";

}  // namespace kw::ui::main_screen
