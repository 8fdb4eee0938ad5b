#pragma once

#include <array>
#include <string_view>

#include "ui/optionen.h"
#include "ui/optionen_layout.h"

namespace kw::ui {

// One of the options dialog's buttons and the presenter call its click makes. OK and Cancel are
// not among them: each view ends its dialog around those.
struct OptionenRoute {
    std::string_view name;
    int id;
    void (Optionen::*handler)();
};

// A name the layout table lacks, or a row that is no button, fails the build.
consteval OptionenRoute ButtonRoute(std::string_view name, void (Optionen::*handler)()) {
    const ControlLayout& row = RowOf(optionen::kControls, name);
    if (row.kind != ControlKind::Button) {
        throw "not a button";
    }
    return {name, row.id, handler};
}

inline constexpr std::array kOptionenRoutes{
    ButtonRoute("BTN_Anrufer", &Optionen::anruferClicked),
    ButtonRoute("BTN_MSN", &Optionen::msnClicked),
    ButtonRoute("BTN_ShowShell", &Optionen::showShellClicked),
    ButtonRoute("BTN_FileSelect", &Optionen::fileSelectClicked),
};

}  // namespace kw::ui
