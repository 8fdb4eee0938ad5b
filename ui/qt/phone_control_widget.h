#pragma once

#include <QWidget>

#include <string_view>

namespace kw::qt {

// The phone in the main window: shows whether calls can arrive, and its tooltip says through
// what or why not. It only shows; the call sources deliver the calls elsewhere.
class PhoneControlWidget final : public QWidget {
  public:
    explicit PhoneControlWidget(QWidget* parent = nullptr);

    void showStatus(bool receiving, std::string_view tooltip);

    bool receiving() const { return receiving_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool receiving_ = false;
};

}  // namespace kw::qt
