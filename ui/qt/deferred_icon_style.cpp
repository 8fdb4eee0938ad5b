#include "ui/qt/deferred_icon_style.h"

#include <QIconEngine>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace kw::qt {

namespace {

// An icon made by `make` the first time it is asked for pixels or sizes.
class DeferredIconEngine final : public QIconEngine {
  public:
    explicit DeferredIconEngine(std::function<QIcon()> make)
        : made_(std::make_shared<Made>(Made{std::move(make), std::nullopt})) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    // The caller scales for the screen already; the made icon must not scale again.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

  private:
    struct Made {
        std::function<QIcon()> make;
        std::optional<QIcon> icon;
    };

    const QIcon& icon() {
        if (!made_->icon) {
            made_->icon = made_->make();
        }
        return *made_->icon;
    }

    // Shared by the copies Qt clones, so that the icon is read once.
    std::shared_ptr<Made> made_;
};

}  // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (which != SP_ToolBarHorizontalExtensionButton || option != nullptr) {
        return QProxyStyle::standardIcon(which, option, widget);
    }
    // Without the widget, which may be gone by the first paint: it only tells the direction of
    // the writing, and the program's is left to right.
    return QIcon(new DeferredIconEngine([style = QPointer<QStyle>(baseStyle())] {
        return style ? style->standardIcon(SP_ToolBarHorizontalExtensionButton) : QIcon();
    }));
}

}  // namespace kw::qt
