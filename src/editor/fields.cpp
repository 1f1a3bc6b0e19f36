// Skeleton: replaced by the real implementation.
#include "editor/fields.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
static const HotKey kStart[13] = {{"no","&H7C"},{"F1","&H70"},{"F2","&H71"},{"F3","&H72"},{"F4","&H73"},{"F5","&H74"},{"F6","&H75"},{"F7","&H76"},{"F8","&H77"},{"F9","&H78"},{"F10","&H79"},{"F11","&H7A"},{"F12","&H7B"}};
static const HotKey kAbbruch[13] = {{"ESC","&H1B"},{"F1","&H70"},{"F2","&H71"},{"F3","&H72"},{"F4","&H73"},{"F5","&H74"},{"F6","&H75"},{"F7","&H76"},{"F8","&H77"},{"F9","&H78"},{"F10","&H79"},{"F11","&H7A"},{"F12","&H7B"}};
const HotKey* start_hotkeys() { return kStart; }
const HotKey* abbruch_hotkeys() { return kAbbruch; }
void Fields::txt_0_wait_Change() {  }  // TODO
void Fields::txt_0_wait_LostFocus() {  }  // TODO
void Fields::txt_0_loop_Change() {  }  // TODO
void Fields::txt_0_loop_LostFocus() {  }  // TODO
void Fields::txt_1_random1_Change() {  }  // TODO
void Fields::txt_1_random2_Change() {  }  // TODO
void Fields::txt_2_x_Change() {  }  // TODO
void Fields::txt_2_y_Change() {  }  // TODO
void Fields::opt_3_click_Click(int index) {  }  // TODO
void Fields::txt_4_eingabetext_Change() {  }  // TODO
void Fields::txt_5_start_Change() {  }  // TODO
void Fields::txt_5_hochzählen_Change() {  }  // TODO
void Fields::txt_6_pfad_Change() {  }  // TODO
void Fields::opt_7_pc_Click(int index) {  }  // TODO
void Fields::com_8_laufwerk_Click() {  }  // TODO
void Fields::com_8_move_Click() {  }  // TODO
void Fields::txt_9_pfad_Change() {  }  // TODO
void Fields::txt_10_x_Change() {  }  // TODO
void Fields::txt_10_y_Change() {  }  // TODO
void Fields::txt_10_abbruch_Change() {  }  // TODO
void Fields::com_0_startcode_Click() {  }  // TODO
void Fields::com_0_abbruchcode_Click() {  }  // TODO
void Fields::cmd_6_pfad_Click() {  }  // TODO
void Fields::cmd_9_pfad_Click() {  }  // TODO
void Fields::Timer_XYPos_Timer() {  }  // TODO
void Fields::write_record(int code) {  }  // TODO

}  // namespace mavorin
