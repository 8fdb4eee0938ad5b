#pragma once

#include <QTranslator>

#include <functional>

namespace kw::qt {

// Qt's own texts (standard buttons, file dialog, context menus) in German whatever the user's
// locale, from Qt's installed catalogue. Read only before the first box or dialog that shows
// them: many runs show none, and the catalogue is a few hundred kilobytes. Made after the
// application object, kept for the run.
class GermanTranslation {
  public:
    // `missing` hears once that the catalogue did not load.
    explicit GermanTranslation(std::function<void()> missing = {});

    GermanTranslation(const GermanTranslation&) = delete;
    GermanTranslation& operator=(const GermanTranslation&) = delete;

    // Before the widgets of a box or dialog are made: they take their texts when made.
    void need();
    // False until needed, and when the catalogue is missing; Qt's texts stay English then.
    bool loaded() const { return loaded_; }

  private:
    std::function<void()> missing_;
    QTranslator translator_;
    bool tried_ = false;
    bool loaded_ = false;
};

}  // namespace kw::qt
