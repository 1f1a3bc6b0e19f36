// Run control: start and stop, the two hot-key polls, the single-command run on double click.
#pragma once

#include <vector>

namespace mavorin {

namespace form {
class Control;
}

class frm_mavorin;

class RunControl {
  public:
    explicit RunControl(frm_mavorin& w) : w(w) {}
    void cmd_start_Click();
    void start_stop();
    void Timer_befehlstart_Timer();
    void Timer_befehlstop_Timer();
    void lst_code_DblClick();
    // True when the abort key was tapped since its previous poll (the hot-key test), or an
    // abort was requested since then.
    bool abort_key_tapped();
    // Requests from outside the window (instance control): each counts as one tap of the start
    // or abort key, seen by that key's next poll, so it does exactly what the key would do then.
    void start_requested();
    void abort_requested();
    // A request not yet polled: the hot-key polls must not be slept through.
    bool request_waiting() const { return start_request || abort_request; }

  private:
    // Locking disables every control locked during a run, in order; unlocking enables those
    // after com_code (start_stop restores the ones before it itself).
    void lock_editor(bool locked);
    std::vector<form::Control*> fields_after_com_code();
    // A change of the run state makes requests not yet polled stale.
    void drop_requests() { start_request = abort_request = false; }
    frm_mavorin& w;
    bool start_request = false;
    bool abort_request = false;
};

}  // namespace mavorin
