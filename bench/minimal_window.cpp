// The yardstick for the start-up figures: the least a Qt Widgets program does to show a window.
// Shows one window of the main window's size and ends once it has been painted. Built a second
// time with one line of text, which is what brings in the font database (fontconfig parses its
// configuration on the first text): the fairer yardstick for any window that shows words.
#include <QApplication>
#include <QLabel>
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
#ifdef KW_WITH_TEXT
    QLabel line(QStringLiteral("Anruf von 012 456789 auf Leitung: 67890"), &window);
#endif
    window.show();
    return QApplication::exec();
}
