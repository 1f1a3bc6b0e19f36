// Skeleton: replaced by the real implementation.
#include "engine/run_control.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
void RunControl::cmd_start_Click() {  }  // TODO
void RunControl::start_stop() {  }  // TODO
void RunControl::Timer_befehlstart_Timer() {  }  // TODO
void RunControl::Timer_befehlstop_Timer() {  }  // TODO
void RunControl::lst_code_DblClick() {  }  // TODO
void RunControl::lock_editor(bool locked) {  }  // TODO

}  // namespace mavorin
