#pragma once

#include <QProxyStyle>

namespace kw::qt {

// The desktop's style, except that the menu bar's overflow button reads its icon only when it is
// first drawn. The style reads it from an image file at once, and reading an image loads every
// image format plugin with its libraries; the button shows only when the menus do not fit.
class DeferredIconStyle final : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace kw::qt
