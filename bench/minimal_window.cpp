// The yardstick for the start-up figures: the least a Qt Widgets program does to show a window.
// Shows one window of the main window's size and ends once it has been painted.
#include <QApplication>
#include <QMetaObject>
#include <QWidget>

namespace {

class FirstPaintQuits final : public QWidget {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    FirstPaintQuits window;
    window.setWindowTitle(QStringLiteral("Kleinstes Fenster"));
    window.resize(376, 98);
    window.show();
    return QApplication::exec();
}
