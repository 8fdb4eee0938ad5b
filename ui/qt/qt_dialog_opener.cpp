#include "ui/qt/qt_dialog_opener.h"

#include "ui/info.h"
#include "ui/qt/qt_anrufquellen_view.h"
#include "ui/qt/qt_anzeige_view.h"
#include "ui/qt/qt_info_view.h"
#include "ui/qt/qt_optionen_view.h"
#include "ui/qt/qt_telefonbuecher_view.h"

namespace kw::qt {

void QtDialogOpener::openOptionen() {
    QtOptionenView view;
    ui::Optionen presenter(view, options_, optionen_);
    view.connectTo(presenter);
    presenter.load();
    view.exec();
}

void QtDialogOpener::openInfo() {
    QtInfoView view;
    ui::Info presenter(view, program_);
    view.connectTo(presenter);
    presenter.load();
    view.exec();
}

void QtDialogOpener::openAnrufquellen() {
    QtAnrufquellenView view;
    ui::Anrufquellen presenter(view, anrufquellen_);
    view.connectTo(presenter);
    presenter.load();
    view.exec();
}

void QtDialogOpener::openTelefonbuecher() {
    if (telefonbuecher_ == nullptr) {
        return;
    }
    QtTelefonbuecherView view;
    ui::Telefonbuecher presenter(view, *telefonbuecher_);
    view.connectTo(presenter);
    presenter.load();
    view.exec();
}

void QtDialogOpener::openAnzeige() {
    QtAnzeigeView view;
    ui::Anzeige presenter(view, anzeige_);
    view.connectTo(presenter);
    presenter.load();
    view.exec();
}

}  // namespace kw::qt
