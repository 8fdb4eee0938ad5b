// Klingelwart for Linux desktops: the main window waits for the calls that klingelwart-ring
// reports over the user's private socket.
#include <QApplication>

#include <optional>
#include <string>
#include <utility>

#include "app/klingelwart_app.h"
#include "app/no_instance_check.h"
#include "core/error_numbers.h"
#include "platform/posix/instance_lock.h"
#include "platform/posix/runtime_directory.h"
#include "ui/qt/control_font.h"

int main(int argc, char* argv[]) {
    // Decided before the display is even opened: a second start ends silently, without a window.
    kw::Result<std::string> directory = kw::posix::PrivateRuntimeDirectory();
    std::optional<kw::posix::InstanceLock> lock;
    kw::app::NoInstanceCheck noLock;
    if (directory.ok()) {
        lock.emplace(directory.value());
    }
    kw::platform::InstanceGuard& instance =
        lock ? static_cast<kw::platform::InstanceGuard&>(*lock) : noLock;
    if (instance.previousInstanceRunning()) {
        return 0;
    }

    // The menu bar stays in the window, above the client area the layout is measured in, also
    // on desktops with a global menu (and the start does not wait for a D-Bus menu service).
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // Qt takes its own options (-platform, -display); the program reads no command line.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Klingelwart"));
    // Wayland desktops match the window to the installed desktop file by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.klingelwart.Klingelwart"));
    // Menus and message boxes in the controls' face: one face less to load at start.
    QApplication::setFont(kw::qt::ControlFont({}));

    // The socket belongs to the holder of the lock only.
    kw::Result<std::string> ringDirectory = directory;
    if (directory.ok() && !lock->claimed()) {
        ringDirectory = kw::Failure{kw::error::kPathFileAccess, "Die Sperrdatei " + lock->path() +
                                                                    " lässt sich nicht anlegen."};
    }
    kw::app::KlingelwartApp program(instance, std::move(ringDirectory));
    if (!program.start()) {
        return 0;
    }
    return QApplication::exec();
}
