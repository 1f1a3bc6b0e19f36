// Opens the window: the X11 devices, Qt's window services, the core window and its view.
#include <QApplication>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTranslator>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "app/frm_mavorin.hpp"
#include "cli/cli.hpp"
#include "platform/composed_platform.hpp"
#include "platform/log.hpp"
#include "platform/recording/recording_platform.hpp"
#include "platform/x11/x11_platform.hpp"
#include "qt/artwork.hpp"
#include "qt/main_window.hpp"
#include "qt/qt_event_loop.hpp"
#include "qt/qt_window_services.hpp"

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
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool verbose = cli::take_verbose(args);
    install_failure_log(xdg_log_path(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")), verbose);
    // Qt aborts when it finds no display; say so plainly instead.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (const std::string problem = display_problem(); !problem.empty()) {
            std::cerr << "mavorin: cannot open the display " << problem << "\n";
            return 1;
        }
    }
    std::unique_ptr<DeviceServices> devices;
    const bool offscreen = qEnvironmentVariable("QT_QPA_PLATFORM") == QStringLiteral("offscreen");
    if (!offscreen) devices = x11::make_x11_devices(args);

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
    std::unique_ptr<RecordingPlatform> stand_in;
    if (!devices) {
        // Without an X display nothing can reach the desktop; the window still edits macros.
        std::cerr << "mavorin: the desktop backend is not available: desktop actions are recorded, "
                     "not carried out\n";
        std::error_code ec;
        stand_in =
            std::make_unique<RecordingPlatform>(loop, std::filesystem::current_path(ec).string());
        stand_in->data_folder = system_user_data_folder();
        stand_in->cmdline.clear();
        for (const auto& a : args)
            stand_in->cmdline += (stand_in->cmdline.empty() ? "\"" : " \"") + a + "\"";
    }
    qt::QtWindowServices services;
    ComposedPlatform platform(services,
                              devices ? *devices : static_cast<DeviceServices&>(*stand_in));
    frm_mavorin window(platform, loop);
    qt::MainWindow view(window);
    services.set_window(&view);
    view.on_close = [&] {
        window.startup.Form_Unload();  // frees input and ends the program on a real desktop
        QApplication::quit();
    };
    // SIGTERM, SIGINT and SIGHUP close the window as the user would: keys let go, input freed,
    // the keyboard map given back.
    std::unique_ptr<QSocketNotifier> on_signal;
    if (const int fd = devices ? x11::catch_termination_signals() : -1; fd >= 0) {
        on_signal = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(on_signal.get(), &QSocketNotifier::activated, [&] { view.on_close(); });
    }
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
    return app.exec();
}
