#include "ui/qt/twips_scale.h"

#include <QGuiApplication>
#include <QScreen>

namespace kw::qt {

namespace {

const QScreen* OrPrimary(const QScreen* screen) {
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

TwipsScale TwipsScale::of(const QScreen* screen) {
    const QScreen* chosen = OrPrimary(screen);
    return TwipsScale(chosen != nullptr ? chosen->logicalDotsPerInch() : 96.0);
}

QPoint ScreenOrigin(const QScreen* screen) {
    const QScreen* chosen = OrPrimary(screen);
    return chosen != nullptr ? chosen->geometry().topLeft() : QPoint();
}

}  // namespace kw::qt
