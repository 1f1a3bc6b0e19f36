// Single-threaded timer loop: timers tick in deadline order, each tick runs to completion.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace mavorin::form {

class EventLoop;

// A window timer: while enabled it ticks every `interval` ms; interval 0 never ticks.
class Timer {
  public:
    Timer(EventLoop& loop, std::string name, int interval_ms, bool enabled = false);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    // Enabling a disabled timer starts the countdown; enabling an enabled one changes nothing.
    void set_enabled(bool on);
    long interval() const { return interval_; }
    // A new interval restarts the countdown of an enabled timer.
    void set_interval(long ms);

    std::function<void()> on_tick;
    // True while a tick would change nothing anyone can see (no key moved since the last poll):
    // the loop may then sleep through the ticks until wake() is called.
    std::function<bool()> idle;

  private:
    friend class EventLoop;
    bool skippable() const { return idle && idle(); }
    void arm();
    EventLoop& loop_;
    std::string name_;
    long interval_;
    bool enabled_ = false;
    bool armed_ = false;
    std::pair<int64_t, uint64_t> key_{};
};

class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Milliseconds since the loop started.
    virtual int64_t now_ms() const = 0;

    // Fires every timer due at or before `now`, in deadline order (ties: arming order).
    void run_due(int64_t now);
    std::optional<int64_t> next_deadline() const;
    // The earliest deadline of a timer that is not idle: when a sleeping loop must wake.
    std::optional<int64_t> next_wake() const;
    // Something an idle timer waits for may have happened (a key event arrived). Timers whose
    // ticks were slept through resume at their next period after now, as if every tick had run
    // and seen nothing.
    void wake();
    // Called whenever the earliest deadline may have changed (a real loop re-arms its wake-up).
    std::function<void()> on_schedule_changed;

    // During a tick this is the tick's deadline, so a late real loop still measures from it.
    int64_t tick_time() const { return in_tick_ ? tick_time_ : now_ms(); }

    // While a Hold lives (a modal box, a long typing step) no timer fires, however the toolkit
    // nests its own event loop. What fell due meanwhile runs once after the last Hold ends;
    // missed periods are skipped, as for any late tick.
    class Hold {
      public:
        explicit Hold(EventLoop& loop) : loop_(loop) { ++loop_.holds_; }
        ~Hold() {
            if (--loop_.holds_ == 0 && loop_.on_schedule_changed) loop_.on_schedule_changed();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        EventLoop& loop_;
    };
    bool held() const { return holds_ > 0; }

  protected:
    bool skip_idle_ticks_ = true;

  private:
    friend class Timer;
    void arm(Timer& t, int64_t deadline);
    void disarm(Timer& t);
    std::map<std::pair<int64_t, uint64_t>, Timer*> queue_;
    uint64_t seq_ = 0;
    bool in_tick_ = false;
    int64_t tick_time_ = 0;
    int holds_ = 0;
};

// Virtual time for tests and the dry run: time moves only through advance().
class VirtualClock : public EventLoop {
  public:
    int64_t now_ms() const override { return now_; }
    // Runs every tick due within the next `ms` milliseconds, then stands at now + ms.
    void advance(int64_t ms);
    // Advances to the next deadline only (if any lies within `limit`); returns false if none.
    bool step(int64_t limit);
    VirtualClock() { skip_idle_ticks_ = false; }
    // Whether idle timers are slept through, as a real loop does; off, every tick runs.
    void set_skip_idle(bool on) { skip_idle_ticks_ = on; }

  private:
    int64_t now_ = 0;
};

}  // namespace mavorin::form
