// Timer scheduling shared by the virtual clock and the toolkit-backed loop.
#include "form/event_loop.hpp"

#include <vector>

namespace mavorin::form {

Timer::Timer(EventLoop& loop, std::string name, int interval_ms, bool enabled)
    : loop_(loop), name_(std::move(name)), interval_(interval_ms) {
    set_enabled(enabled);
}

Timer::~Timer() {
    loop_.disarm(*this);
}

void Timer::set_enabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (on)
        arm();
    else
        loop_.disarm(*this);
}

void Timer::set_interval(long ms) {
    // Negative means never; beyond about 24 days is treated as 24 days, so deadlines never
    // overflow.
    interval_ = ms < 0 ? 0 : ms > 2147483647L ? 2147483647L : ms;
    if (enabled_) arm();
}

void Timer::arm() {
    loop_.disarm(*this);
    if (interval_ > 0) loop_.arm(*this, loop_.tick_time() + interval_);
}

void EventLoop::arm(Timer& t, int64_t deadline) {
    t.key_ = {deadline, seq_++};
    t.armed_ = true;
    queue_.emplace(t.key_, &t);
    if (on_schedule_changed) on_schedule_changed();
}

void EventLoop::disarm(Timer& t) {
    if (!t.armed_) return;
    queue_.erase(t.key_);
    t.armed_ = false;
}

std::optional<int64_t> EventLoop::next_deadline() const {
    if (queue_.empty()) return std::nullopt;
    return queue_.begin()->first.first;
}

std::optional<int64_t> EventLoop::next_wake() const {
    // Every idle test runs, even past the answer: each one reads what arrived for its timer.
    std::optional<int64_t> first;
    for (const auto& [key, t] : queue_)
        if (!t->skippable() && !first) first = key.first;
    return first;
}

void EventLoop::wake() {
    const int64_t now = now_ms();
    std::vector<Timer*> overdue;
    for (const auto& [key, t] : queue_) {
        if (key.first > now) break;
        if (t->idle) overdue.push_back(t);
    }
    for (Timer* t : overdue) {
        queue_.erase(t->key_);
        const int64_t d = t->key_.first;
        t->key_ = {d + ((now - d) / t->interval_ + 1) * t->interval_, seq_++};
        queue_.emplace(t->key_, t);
    }
    if (on_schedule_changed) on_schedule_changed();
}

void EventLoop::run_due(int64_t now) {
    if (held()) return;
    while (!held() && !queue_.empty() && queue_.begin()->first.first <= now) {
        auto it = queue_.begin();
        Timer* t = it->second;
        int64_t deadline = it->first.first;
        // A timer slept through while idle ticks at its latest period, not at a stale one.
        if (t->idle && now - deadline >= t->interval_)
            deadline += (now - deadline) / t->interval_ * t->interval_;
        queue_.erase(it);
        t->armed_ = false;
        // Next deadline keeps the phase; missed periods are skipped rather than caught up.
        int64_t next = deadline + t->interval_;
        if (next <= now) next += ((now - next) / t->interval_ + 1) * t->interval_;
        t->key_ = {next, seq_++};
        t->armed_ = true;
        queue_.emplace(t->key_, t);
        bool outer = in_tick_;
        int64_t outer_time = tick_time_;
        if (skip_idle_ticks_ && t->skippable()) continue;
        in_tick_ = true;
        tick_time_ = deadline;
        if (t->on_tick) t->on_tick();
        in_tick_ = outer;
        tick_time_ = outer_time;
    }
    if (on_schedule_changed) on_schedule_changed();
}

void VirtualClock::advance(int64_t ms) {
    int64_t target = now_ + ms;
    while (step(target - now_)) {
    }
    now_ = target;
}

bool VirtualClock::step(int64_t limit) {
    if (held()) return false;
    auto next = skip_idle_ticks_ ? next_wake() : next_deadline();
    if (!next || *next > now_ + limit) return false;
    if (*next > now_) now_ = *next;
    run_due(now_);
    return true;
}

}  // namespace mavorin::form
