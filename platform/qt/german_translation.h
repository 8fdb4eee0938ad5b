#pragma once

#include <QTranslator>

namespace kw::qt {

// Qt's own texts (standard buttons, file dialog, context menus) in German whatever the user's
// locale, from Qt's installed catalogue. Made after the application object, kept for the run.
class GermanTranslation {
  public:
    GermanTranslation();

    GermanTranslation(const GermanTranslation&) = delete;
    GermanTranslation& operator=(const GermanTranslation&) = delete;

    // False when the catalogue is missing; Qt's texts stay English then.
    bool loaded() const { return loaded_; }

  private:
    QTranslator translator_;
    bool loaded_ = false;
};

}  // namespace kw::qt
