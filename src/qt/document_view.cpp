// The window's title, following the core's document and run state.
#include <QTimer>

#include "qt/main_window.hpp"
#include "qt/qt_text.hpp"

namespace mavorin::qt {

void MainWindow::watch_document() {
    // The pass counter is no control, so the title is polled rather than observed.
    auto* timer = new QTimer(this);
    auto refresh = [this] {
        const QString title = q(m_.document.title());
        if (windowTitle() != title) setWindowTitle(title);
    };
    connect(timer, &QTimer::timeout, this, refresh);
    timer->start(100);
    refresh();
}

}  // namespace mavorin::qt
