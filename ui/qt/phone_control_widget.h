#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string_view>

class QSocketNotifier;

namespace kw::posix {
class PhoneListener;
}

namespace kw::qt {

// The phone in the main window: shows whether calls can arrive, and hands each call that
// klingelwart-ring reports to the handler on the UI thread. It does nothing else with the
// window: a ring never raises, restores, activates or focuses it.
class PhoneControlWidget final : public QWidget {
  public:
    using CallHandler = std::function<void(std::string_view caller, std::string_view called)>;

    explicit PhoneControlWidget(QWidget* parent = nullptr);
    ~PhoneControlWidget() override;

    void setCallHandler(CallHandler handler);

    // Takes the listener over; from now on its calls reach the handler.
    void listen(std::unique_ptr<posix::PhoneListener> listener);

    // No calls can arrive; the tooltip tells why.
    void showNotListening(std::string_view reason);

    bool listening() const { return listener_ != nullptr; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void takeCalls();

    CallHandler handler_;
    std::unique_ptr<posix::PhoneListener> listener_;
    // Declared after the listener so that it goes first: it watches the listener's descriptor.
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kw::qt
