#include "platform/qt/german_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <utility>

namespace kw::qt {

GermanTranslation::GermanTranslation(std::function<void()> missing)
    : missing_(std::move(missing)) {}

void GermanTranslation::need() {
    if (tried_) {
        return;
    }
    tried_ = true;
    // Dates and sizes in the file dialog follow the default locale; a German one is kept.
    if (QLocale().language() != QLocale::German) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    loaded_ = translator_.load(QStringLiteral("qtbase_de"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(&translator_);
    if (!loaded_ && missing_) {
        missing_();
    }
}

}  // namespace kw::qt
