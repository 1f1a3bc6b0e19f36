// Deadlines stay absolute: a late wake-up runs what is due and never shifts later ticks.
#include "qt/qt_event_loop.hpp"

namespace mavorin::qt {

QtEventLoop::QtEventLoop() {
    clock_.start();
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, this, [this] { fire(); });
    on_schedule_changed = [this] { rearm(); };
}

void QtEventLoop::rearm() {
    auto next = next_wake();
    // While held, waking would only spin; the end of the hold re-arms.
    if (!next || held()) {
        wake_.stop();
        return;
    }
    const int64_t wait = *next - now_ms();
    wake_.start(static_cast<int>(wait < 0 ? 0 : wait));
}

void QtEventLoop::fire() {
    // A tick that processes events (a fade) may wake us again; run_due copes with nesting.
    run_due(now_ms());
    rearm();
}

}  // namespace mavorin::qt
