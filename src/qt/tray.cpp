// The tray icon of a run.
#include "qt/tray.hpp"

#include <QAbstractEventDispatcher>

#include "qt/artwork.hpp"
#include "qt/qt_text.hpp"

namespace mavorin::qt {

RunTray::RunTray(frm_mavorin& model, QObject* parent)
    : QObject(parent), m_(model), abort_(QStringLiteral("Abbrechen")) {
    icon_.setIcon(app_icon());
    menu_.addAction(&abort_);
    icon_.setContextMenu(&menu_);
    connect(&abort_, &QAction::triggered, this, [this] {
        // As the abort key: the next poll stops the run, also in the midst of a long text.
        if (m_.running()) m_.run.abort_requested();
        refresh();
    });
    // The pass is no control: follow it whenever the loop is about to sleep, as the title does.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &RunTray::refresh);
}

void RunTray::refresh() {
    const bool was = wanted_;
    wanted_ = m_.running();
    if (wanted_) {
        // The title's run part: "Mavorin – läuft, Durchlauf 2 von 3".
        const std::string title = m_.document.title();
        const auto run = title.rfind(" – läuft");
        const QString tip = q("Mavorin" + (run == std::string::npos ? "" : title.substr(run)));
        if (icon_.toolTip() != tip) icon_.setToolTip(tip);
    }
    // Asking for the tray is a round trip to the display, and this runs before every sleep: ask
    // when a run starts, then once a second for a tray that comes or goes.
    if (wanted_ && (!was || !asked_.isValid() || asked_.elapsed() >= 1000)) {
        tray_ = QSystemTrayIcon::isSystemTrayAvailable();
        asked_.start();
    }
    const bool show = wanted_ && tray_;
    if (icon_.isVisible() != show) icon_.setVisible(show);
}

}  // namespace mavorin::qt
