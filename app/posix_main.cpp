// Klingelwart for Linux desktops: the main window waits for the calls that klingelwart-ring
// reports over the user's private socket.
#include <QApplication>

#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/klingelwart_app.h"
#include "app/no_instance_check.h"
#include "core/error_numbers.h"
#include "platform/posix/instance_lock.h"
#include "platform/posix/runtime_directory.h"
#include "platform/posix/termination_signals.h"
#include "platform/qt/platform_choice.h"
#include "platform/qt/termination_watcher.h"
#include "ui/qt/control_font.h"
#include "ui/qt/deferred_icon_style.h"

namespace {

std::string_view Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

int main(int argc, char* argv[]) {
    // First, before any thread exists: logout's SIGTERM, Ctrl+C and a closed terminal end the
    // program like the close box, so the socket is removed.
    kw::posix::TerminationSignals endingSignals;

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
    std::vector<char*> qtArguments(argv, argv + argc);
    std::string platformOption = "-platform";
    std::optional<std::string> platform = kw::qt::PreferredPlatform(
        {Variable("QT_QPA_PLATFORM"), Variable("DISPLAY"), Variable("WAYLAND_DISPLAY")},
        std::span<const char* const>(argv, static_cast<std::size_t>(argc)));
    if (platform && argc > 0) {
        // An argument, not QT_QPA_PLATFORM: programs started from here choose for themselves.
        qtArguments.insert(qtArguments.begin() + 1, {platformOption.data(), platform->data()});
    }
    int qtArgumentCount = static_cast<int>(qtArguments.size());
    qtArguments.push_back(nullptr);
    QApplication application(qtArgumentCount, qtArguments.data());
    // Before the first widget: the application takes it over.
    QApplication::setStyle(new kw::qt::DeferredIconStyle);
    const kw::qt::TerminationWatcher endingWatch(endingSignals);
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
    kw::app::KlingelwartApp program(instance, std::move(ringDirectory),
                                    [&lock] { return lock->reclaim(); });
    if (!program.start()) {
        return 0;
    }
    return endingWatch.received() ? 0 : QApplication::exec();
}
