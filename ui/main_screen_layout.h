#pragma once

#include <array>

#include "ui/layout.h"

namespace kw::ui::main_screen {

inline constexpr WindowSpec kWindow{"MainScreen", "", 5640, 1185, 0, 0};

inline constexpr std::string_view kCallerLineTooltip = "Ein Doppelklick löscht den letzten Anruf";

inline constexpr std::array kControls{
    ControlSpec{.name = "LBL_Anrufer",
                .kind = ControlKind::Label,
                .rect = {120, 120, 5415, 375},
                .font = {.points = 9.75, .bold = true},
                .tooltip = kCallerLineTooltip,
                .border = true,
                .centred = true},
    ControlSpec{.name = "BTN_Db",
                .kind = ControlKind::Button,
                .rect = {120, 600, 3135, 495},
                .tabIndex = 1,
                .enabled = false},
    ControlSpec{
        .name = "axPhoner1", .kind = ControlKind::PhoneControl, .rect = {3600, 600, 375, 375}},
    ControlSpec{.name = "BTN_End",
                .kind = ControlKind::Button,
                .rect = {4080, 600, 1455, 495},
                .caption = "&Beenden",
                .tabIndex = 2},
};

inline constexpr std::array kMenus{
    MenuSpec{"mnuDatei", "&Datei", "", ""},
    MenuSpec{"mnuDel", "&Anruferfeld löschen", "mnuDatei", "Ctrl+L"},
    MenuSpec{"mnuTrenn1", "-", "mnuDatei", ""},
    MenuSpec{"mnuOptionen", "&Optionen ...", "mnuDatei", "Ctrl+O"},
    MenuSpec{"mnuTrenn2", "-", "mnuDatei", ""},
    MenuSpec{"mnuBeenden", "&Beenden", "mnuDatei", "Ctrl+F4"},
    MenuSpec{"mnuHelp", "&?", "", ""},
    MenuSpec{"mnuHilfe", "&Hilfe ...", "mnuHelp", "F1"},
    MenuSpec{"mnuTrenn3", "-", "mnuHelp", ""},
    MenuSpec{"mnuInfo", "&Info ...", "mnuHelp", ""},
};

inline constexpr std::string_view kShellActionCaption = "&Anwendung starten";
inline constexpr std::string_view kDatabaseActionCaption = "&Anrufer-Info anzeigen";

inline constexpr std::string_view kExitQuestion = "Möchten Sie die Anwendung tatsächlich beenden ?";
inline constexpr std::string_view kExitTitle = "Klingelwart beenden";

inline constexpr std::string_view kHelpFileName = "KLINGELWART2.chm";

}  // namespace kw::ui::main_screen
