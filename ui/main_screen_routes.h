#pragma once

#include <array>
#include <string_view>

#include "ui/main_screen.h"
#include "ui/main_screen_layout.h"

namespace kw::ui {

// How a control reaches its handler: a button by a click, a label by a double click.
enum class RouteTrigger { Click, DoubleClick, Menu };

// One of the main window's controls or menu commands and the presenter call it makes.
struct MainScreenRoute {
    std::string_view name;
    int id;
    RouteTrigger trigger;
    void (MainScreen::*handler)();
};

// A name the layout tables lack fails the build.
consteval MainScreenRoute Route(std::string_view name, void (MainScreen::*handler)()) {
    for (const ControlLayout& row : main_screen::kControls) {
        if (row.name == name) {
            return {
                name, row.id,
                row.kind == ControlKind::Label ? RouteTrigger::DoubleClick : RouteTrigger::Click,
                handler};
        }
    }
    return {name, RowOf(main_screen::kMenus, name).id, RouteTrigger::Menu, handler};
}

inline constexpr std::array kMainScreenRoutes{
    Route("BTN_Db", &MainScreen::actionClicked),
    Route("BTN_End", &MainScreen::endClicked),
    Route("LBL_Anrufer", &MainScreen::callerLineDoubleClicked),
    Route("mnuDel", &MainScreen::callerLineDoubleClicked),
    Route("mnuOptionen", &MainScreen::optionenChosen),
    Route("mnuAnrufquellen", &MainScreen::anrufquellenChosen),
    Route("mnuTelefonbuecher", &MainScreen::telefonbuecherChosen),
    Route("mnuAnzeige", &MainScreen::anzeigeChosen),
    Route("mnuAnrufliste", &MainScreen::anruflisteChosen),
    Route("mnuBeenden", &MainScreen::endClicked),
    Route("mnuHilfe", &MainScreen::helpChosen),
    Route("mnuInfo", &MainScreen::infoChosen),
};

}  // namespace kw::ui
