#include "ui/qt/qt_dialog_opener.h"

#include "ui/info.h"
#include "ui/qt/qt_anrufliste_view.h"
#include "ui/qt/qt_anrufquellen_view.h"
#include "ui/qt/qt_info_view.h"
#include "ui/qt/qt_optionen_view.h"

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

int QtDialogOpener::openAnrufliste() {
    if (anrufliste_ == nullptr) {
        return 0;
    }
    {
        QtAnruflisteView view;
        ui::Anrufliste presenter(view, *anrufliste_);
        view.connectTo(presenter);
        presenter.load();
        view.exec();
    }
    return static_cast<int>(ui::UnseenMissedCalls(anrufliste_->log, anrufliste_->store));
}

}  // namespace kw::qt
