// Field handlers: guards, corrections and write-back; hot keys; cursor capture; the browse buttons.
#pragma once

#include <string>

namespace mavorin {

class frm_mavorin;

struct HotKey {
    const char* entry;  // combo entry and stored name
    const char* code;   // virtual-key code as "&H.." text
};
// Rows 0..12 of the start and abort hot-key tables.
const HotKey* start_hotkeys();
const HotKey* abort_hotkeys();
inline constexpr int kHotKeyCount = 13;

class Fields {
  public:
    explicit Fields(frm_mavorin& w) : w(w) {}
    void txt_0_wait_Change();
    void txt_0_wait_LostFocus();
    void txt_0_loop_Change();
    void txt_0_loop_LostFocus();
    void txt_1_random1_Change();
    void txt_1_random2_Change();
    void txt_2_x_Change();
    void txt_2_y_Change();
    void opt_3_click_Click(int index);
    void txt_4_eingabetext_Change();
    void txt_5_start_Change();
    void txt_5_hochzählen_Change();
    void txt_6_pfad_Change();
    void opt_7_pc_Click(int index);
    void com_8_laufwerk_Click();
    void com_8_move_Click();
    void txt_9_pfad_Change();
    void txt_10_x_Change();
    void txt_10_y_Change();
    void txt_10_abbruch_Change();
    void com_0_startcode_Click();
    void com_0_abbruchcode_Click();
    void cmd_6_pfad_Click();
    void cmd_9_pfad_Click();
    void Timer_XYPos_Timer();

  private:
    // Sets code_aktuell, then schreibebefehl and befehl_aktuellencode.
    void write_record(int code);
    frm_mavorin& w;
};

}  // namespace mavorin
