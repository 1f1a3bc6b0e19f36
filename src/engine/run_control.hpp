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
    // True when the abort key was tapped since its previous poll (the hot-key test).
    bool abort_key_tapped();

  private:
    // Locking disables every control locked during a run, in order; unlocking enables those
    // after com_code (start_stop restores the ones before it itself).
    void lock_editor(bool locked);
    std::vector<form::Control*> fields_after_com_code();
    frm_mavorin& w;
};

}  // namespace mavorin
