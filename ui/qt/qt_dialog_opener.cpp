#include "ui/qt/qt_dialog_opener.h"

#include "platform/qt/german_translation.h"
#include "ui/info.h"
#include "ui/qt/qt_anrufliste_view.h"
#include "ui/qt/qt_anrufquellen_view.h"
#include "ui/qt/qt_anzeige_view.h"
#include "ui/qt/qt_info_view.h"
#include "ui/qt/qt_optionen_view.h"
#include "ui/qt/qt_telefonbuecher_view.h"

namespace kw::qt {

namespace {

// Runs a fresh view with its presenter, made from the view and `args`, until it closes.
template <class View, class Presenter, class... Args>
void RunDialog(GermanTranslation* german, Args&... args) {
    if (german != nullptr) {
        german->need();
    }
    View view;
    Presenter presenter(view, args...);
    view.connectTo(presenter);
    presenter.load();
    view.exec();
}

}  // namespace

void QtDialogOpener::openOptionen() {
    RunDialog<QtOptionenView, ui::Optionen>(german_, options_, optionen_);
}

void QtDialogOpener::openInfo() {
    RunDialog<QtInfoView, ui::Info>(german_, program_);
}

void QtDialogOpener::openAnrufquellen() {
    RunDialog<QtAnrufquellenView, ui::Anrufquellen>(german_, anrufquellen_);
}

int QtDialogOpener::openAnrufliste() {
    if (anrufliste_ == nullptr) {
        return 0;
    }
    RunDialog<QtAnruflisteView, ui::Anrufliste>(german_, *anrufliste_);
    return static_cast<int>(ui::UnseenMissedCalls(anrufliste_->log, anrufliste_->store));
}

void QtDialogOpener::openTelefonbuecher() {
    if (telefonbuecher_ != nullptr) {
        RunDialog<QtTelefonbuecherView, ui::Telefonbuecher>(german_, *telefonbuecher_);
    }
}

void QtDialogOpener::openAnzeige() {
    RunDialog<QtAnzeigeView, ui::Anzeige>(german_, anzeige_);
}

}  // namespace kw::qt
