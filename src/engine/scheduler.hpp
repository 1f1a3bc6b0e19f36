// The step scheduler: the driver timer, the one-shot step timer, dispatch and the random pause.
#pragma once

namespace mavorin {

class frm_mavorin;

class Scheduler {
  public:
    explicit Scheduler(frm_mavorin& w) : w(w) {}
    void Timer_startloop_Timer();
    void Timer_start_Timer();
    // Code 001: lengthens the pause before the next command.
    void random_wait();
    // Runs the action of `code_aktuell`; a failing action is skipped.
    void run_current_code();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
