// Run control: start and stop, the two hot-key polls, the single-command run on double click.
#pragma once

namespace mavorin {

class frm_mavorin;

class RunControl {
  public:
    explicit RunControl(frm_mavorin& w) : w(w) {}
    void cmd_start_Click();
    void start_stop();
    void Timer_befehlstart_Timer();
    void Timer_befehlstop_Timer();
    void lst_code_DblClick();

  private:
    // Enables or disables the controls locked during a run, in their order.
    void lock_editor(bool locked);
    frm_mavorin& w;
};

}  // namespace mavorin
