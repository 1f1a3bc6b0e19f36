// The tray icon of a run.
#include "qt/tray.hpp"

#include "qt/artwork.hpp"
#include "qt/qt_text.hpp"

namespace mavorin::qt {

RunTray::RunTray(frm_mavorin& model, QObject* parent)
    : QObject(parent), m_(model), abort_(QStringLiteral("Abbrechen")) {
    icon_.setIcon(app_icon());
    menu_.addAction(&abort_);
    icon_.setContextMenu(&menu_);
    connect(&abort_, &QAction::triggered, this, [this] {
        if (m_.running()) m_.run.start_stop();
        refresh();
    });
    // The pass is no control: poll it, as the title does.
    connect(&poll_, &QTimer::timeout, this, &RunTray::refresh);
    poll_.start(100);
}

void RunTray::refresh() {
    wanted_ = m_.running();
    if (wanted_) {
        // The title's run part: "Mavorin – läuft, Durchlauf 2 von 3".
        const std::string title = m_.document.title();
        const auto run = title.rfind(" – läuft");
        const QString tip = q("Mavorin" + (run == std::string::npos ? "" : title.substr(run)));
        if (icon_.toolTip() != tip) icon_.setToolTip(tip);
    }
    const bool show = wanted_ && QSystemTrayIcon::isSystemTrayAvailable();
    if (icon_.isVisible() != show) icon_.setVisible(show);
}

}  // namespace mavorin::qt
