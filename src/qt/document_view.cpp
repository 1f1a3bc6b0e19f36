// The window's title and the Start button's focus, following the core's document and run state.
#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QVariant>

#include "qt/main_window.hpp"
#include "qt/qt_text.hpp"

namespace mavorin::qt {

void MainWindow::watch_document() {
    // The pass counter is no control: besides after every control change, the title is brought
    // up to date whenever the loop is about to sleep, so it follows without a polling timer.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] { refresh_title(); });
    refresh_title();
}

void MainWindow::refresh_title() {
    const QString title = q(m_.document.title());
    if (windowTitle() != title) setWindowTitle(title);
}

namespace {

// Swallows the keys that would press the button while a run is active.
class MouseOnlyWhileRunning : public QObject {
  public:
    MouseOnlyWhileRunning(frm_mavorin& m, QObject* parent) : QObject(parent), m_(m) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease ||
                         e->type() == QEvent::Shortcut;
        return (key && m_.running()) || QObject::eventFilter(watched, e);
    }

  private:
    frm_mavorin& m_;
};

}  // namespace

void MainWindow::guard_start_button(QWidget* start) {
    // While running, keys the macro types ({ENTER}, a space) must not press "Stop".
    if (!start->property("mouse_only").toBool()) {
        start->installEventFilter(new MouseOnlyWhileRunning(m_, start));
        start->setProperty("mouse_only", true);
    }
    const bool running = m_.running();
    start->setFocusPolicy(running ? Qt::NoFocus : Qt::StrongFocus);
    if (running && start->hasFocus()) start->clearFocus();
}

}  // namespace mavorin::qt
