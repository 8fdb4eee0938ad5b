#pragma once

#include <array>

#include "ui/layout.h"

namespace kw::ui::info {

inline constexpr WindowLayout kWindow{"Info", "", 5730, 4470, 4995, 3990};

inline constexpr std::string_view kCaption = "Info zu Klingelwart";

inline constexpr std::string_view kDescription =
    "Klingelwart ist sozusagen ein Zusatzprogramm zum Programm Phoner. Es überwacht dieses "
    "Programm und kann bei einem Anruf mit Rufnummer-Übertragung eine selbstgeschriebene Prozedur "
    "in Microsoft Access (ab Version 97) tätigen oder eine Shell-Anwendung starten. Somit kann "
    "die Rufnummer auch einer Internet-Seite übergeben werden oder ein exterenes Programm mit "
    "Kommandozeilen-Parameter gestartet werden.";

inline constexpr std::string_view kDisclaimer =
    "Warnung: Benutzung auf eigene Gefahr. Für Schäden und alle "
    "sonstigen Probleme, die durch die Verwendung dieses Programms enstehen, übernehme ich weder "
    "eine Verantwortung noch irgendeine Haftung.";

inline constexpr std::string_view kCopyright = "Copyright © 2026 Die Klingelwart-Entwickler";

inline constexpr std::array kControls{
    ControlLayout{.name = "picIcon",
                  .id = 4001,
                  .kind = ControlKind::Picture,
                  .rect = {120, 240, 780, 780},
                  .border = true},
    ControlLayout{.name = "lblTitle",
                  .id = 4002,
                  .rect = {1050, 240, 3885, 480},
                  .caption = "Klingelwart (Freeware)",
                  .font = {.points = 12, .bold = true}},
    ControlLayout{
        .name = "lblVersion", .id = 4003, .rect = {1050, 780, 4485, 465}, .font = {.bold = true}},
    ControlLayout{.name = "lblDescription",
                  .id = 4004,
                  .rect = {1050, 1320, 3885, 2010},
                  .caption = kDescription},
    ControlLayout{.name = "lblDisclaimer",
                  .id = 4005,
                  .rect = {255, 3480, 4110, 825},
                  .caption = kDisclaimer},
    ControlLayout{.name = "cmdOK",
                  .id = kOkId,
                  .kind = ControlKind::Button,
                  .rect = {4485, 3720, 1020, 345},
                  .caption = "OK",
                  .tabIndex = 0},
};

static_assert(HasDistinctIds(kControls));

// The etched separator: a grey line over a white one two pixels wide, both at this Y.
inline constexpr int kLineY = 3360;
inline constexpr int kLineLeft = 120;
inline constexpr int kGreyLineRight = 5684;
inline constexpr int kWhiteLineRight = 5669;

inline constexpr int kIconPixels = 48;

}  // namespace kw::ui::info
