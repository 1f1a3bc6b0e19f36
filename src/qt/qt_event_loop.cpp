// Deadlines stay absolute: a late wake-up runs what is due and never shifts later ticks.
#include "qt/qt_event_loop.hpp"

#include <chrono>
#include <thread>

namespace mavorin::qt {

namespace {

constexpr int64_t kNsPerMs = 1'000'000;
// Qt arms timers in whole milliseconds and its glib dispatcher rounds the poll timeout up, so
// a timer lands anywhere in the millisecond after its deadline: up to a millisecond of jitter
// between two steps. The loop wakes up to this much early and sleeps the rest to the deadline.
constexpr int64_t kEarlyMs = 1;
// A wake-up earlier than this was armed for another deadline (the schedule has moved since):
// it re-arms instead of sleeping.
constexpr int64_t kLongestSleepNs = (kEarlyMs + 2) * kNsPerMs;

}  // namespace

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
    const int64_t wait = (*next * kNsPerMs - clock_.nsecsElapsed()) / kNsPerMs - kEarlyMs;
    wake_.start(static_cast<int>(wait < 0 ? 0 : wait));
}

void QtEventLoop::fire() {
    if (auto next = next_wake(); next && !held()) {
        const int64_t left = *next * kNsPerMs - clock_.nsecsElapsed();
        if (left > 0 && left <= kLongestSleepNs)
            std::this_thread::sleep_for(std::chrono::nanoseconds(left));
    }
    // A tick that processes events (a fade) may wake us again; run_due copes with nesting.
    run_due(now_ms());
    rearm();
}

}  // namespace mavorin::qt
