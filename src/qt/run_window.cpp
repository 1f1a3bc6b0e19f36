// Opens the window: the X11 devices, Qt's window services, the core window and its view.
#include <QApplication>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "app/frm_mavorin.hpp"
#include "cli/cli.hpp"
#include "platform/composed_platform.hpp"
#include "platform/log.hpp"
#include "platform/x11/x11_platform.hpp"
#include "qt/artwork.hpp"
#include "qt/check_command.hpp"
#include "qt/desktop_start.hpp"
#include "qt/instance_listener.hpp"
#include "qt/main_window.hpp"
#include "qt/qt_event_loop.hpp"
#include "qt/qt_window_services.hpp"
#include "qt/record_command.hpp"
#include "qt/tray.hpp"
#include "record/record_command.hpp"

// Last: Xlib's macros would clash with Qt's headers.
#include <X11/Xlib.h>

namespace {

// Empty when a display can be opened; otherwise which one could not, for the message.
std::string display_problem() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (x && *x) {
        if (Display* d = XOpenDisplay(x)) {
            XCloseDisplay(d);
            return {};
        }
        if (!wayland || !*wayland) return std::string(x) + " (DISPLAY)";
    }
    if (wayland && *wayland) {
        std::filesystem::path socket(wayland);
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (socket.is_relative() && runtime) socket = std::filesystem::path(runtime) / socket;
        std::error_code ec;
        if (std::filesystem::exists(socket, ec)) return {};
        return std::string(wayland) + " (WAYLAND_DISPLAY)";
    }
    return "(neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

}  // namespace

int mavorin::run_window(int argc, char** argv) {
    if (auto rc = qt::instance_option(argc, argv)) return *rc;  // --start, --abort: no display
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool verbose = cli::take_verbose(args);
    if (auto recorded = record_from_command_line(args, qt::desktop_recorder_factory(),
                                                 system_user_data_folder()))
        return *recorded;
    install_failure_log(xdg_log_path(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")), verbose);
    if (const auto rc = qt::check_command(args, std::cout)) return *rc;
    // Qt aborts when it finds no display; say so plainly instead.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (const std::string problem = display_problem(); !problem.empty()) {
            std::cerr << "mavorin: cannot open the display " << problem << "\n";
            return 1;
        }
    }
    const bool offscreen = qEnvironmentVariable("QT_QPA_PLATFORM") == QStringLiteral("offscreen");
    qt::WindowDesktop desktop = qt::open_window_desktop(args, offscreen);
    if (!desktop.missing_line.empty()) std::cerr << desktop.missing_line << "\n";

    // Without a session bus, the accessibility bridge would autolaunch one that outlives us.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mavorin"));
    QApplication::setWindowIcon(qt::app_icon());
    // The window is German; Qt's own dialogs and buttons should be too.
    QTranslator qt_german;
    if (qt_german.load(QStringLiteral("qtbase_de"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_german);
    qt::QtEventLoop loop;
    qt::QtWindowServices services;
    ComposedPlatform platform(services, *desktop.devices);
    frm_mavorin window(platform, loop);
    window.no_desktop = desktop.no_desktop;
    qt::MainWindow view(window);
    services.set_window(&view);
    if (desktop.reachable) window.recorder_factory = qt::desktop_recorder_factory();
    window.on_minimize = [&](bool m) { m ? view.showMinimized() : view.showNormal(); };
    view.on_close = [&] {
        window.startup.Form_Unload();  // frees input and ends the program on a real desktop
        QApplication::quit();
    };
    // SIGTERM, SIGINT and SIGHUP close the window as the user would: keys let go, input freed,
    // the keyboard map given back.
    std::unique_ptr<QSocketNotifier> on_signal;
    if (const int fd = desktop.reachable ? x11::catch_termination_signals() : -1; fd >= 0) {
        on_signal = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(on_signal.get(), &QSocketNotifier::activated, [&] { view.on_close(); });
    }
    qt::RunTray tray(window);
    qt::InstanceListener instance_listener(window);
    // Idle hot-key polls are slept through; a key event on the display connection wakes them.
    std::unique_ptr<QSocketNotifier> on_key;
    if (const int fd = platform.key_event_descriptor(); fd >= 0) {
        on_key = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(on_key.get(), &QSocketNotifier::activated, [&] {
            platform.key_state_settled(-1);  // reads what arrived, so the descriptor quiets down
            loop.wake();
        });
    }
    view.show();
    window.startup.Form_Load();
    window.document.mark_clean();
    view.sync_all();
    // Once, after the window shows: what this desktop lacks for macros.
    if (!desktop.missing_box.empty())
        QTimer::singleShot(0, &view, [&] { window.notice(desktop.missing_box); });
    return app.exec();
}
