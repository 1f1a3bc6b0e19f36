// The window's construction and the one place where handlers are wired to controls.
#include "app/frm_mavorin.hpp"

#include "app/form_table.hpp"

namespace mavorin {

frm_mavorin::frm_mavorin(DesktopPlatform& p, form::EventLoop& l)
    : platform(p),
      loop(l),
      befehl(kSlots),
      befehl_code(kSlots),
      befehl_wert1(kSlots),
      befehl_wert2(kSlots),
      befehl_wert3(kSlots),
      befehl_wert4(kSlots),
      befehl_kopie(kSlots) {
    for (const auto& name : code_names()) com_code.add_item(name);
    com_code0.add_item("Grundeinstellungen");
    for (int i = 0; i < kHotKeyCount; ++i) {
        com_0_startcode.add_item(start_hotkeys()[i].entry);
        com_0_abbruchcode.add_item(abort_hotkeys()[i].entry);
    }
    for (int i = 0; i < kSpecialKeyCount; ++i)
        com_4_eingabebefehl.add_item(special_keys()[i].entry);
    com_code.set_visible(false);
    // The settings record's list starts on its single entry and never changes.
    com_code0.set_list_index(0);
    wire();
}

void frm_mavorin::wire() {
    // Document.
    // Through the document layer, which asks before unsaved work is lost and tells how saving went.
    cmd_save.on_click = [this] { document.save(); };
    cmd_save2.on_click = [this] { document.save_as(); };
    cmd_load.on_click = [this] { document.load(); };
    cmd_load2.on_click = [this] { document.load_as(); };
    lst_code.on_drop = [this](const std::vector<std::string>& f) { document.drop(f); };

    // Command list.
    hsc_befehle.on_change = [this] { command_list.hsc_befehle_Change(); };
    txt_befehle.on_change = [this] { command_list.txt_befehle_Change(); };
    txt_befehle.on_lost_focus = [this] { command_list.txt_befehle_LostFocus(); };
    img_befehl_right.on_click = [this] { command_list.img_befehl_right_Click(); };
    img_befehl_left.on_click = [this] { command_list.img_befehl_left_Click(); };
    mnunewcommand.on_click = [this] { command_list.mnunewcommand_Click(); };
    com_code.on_click = [this] { command_list.com_code_Click(); };
    chk_0_listbox.on_click = [this] { command_list.chk_0_listbox_Click(); };

    // List editing.
    lst_code.on_mouse_down = [this](int b, int s, float x, float y) {
        list_editing.lst_code_MouseDown(b, s, x, y);
    };
    lst_code.on_key_up = [this](int k, int s) { list_editing.lst_code_KeyUp(k, s); };
    lst_code.on_key_press = [this](int c) { list_editing.lst_code_KeyPress(c); };
    mnucut.on_click = [this] { list_editing.mnucut_Click(); };
    mnucopy.on_click = [this] { list_editing.mnucopy_Click(); };
    mnupaste.on_click = [this] { list_editing.mnupaste_Click(); };
    mnudelete.on_click = [this] { list_editing.mnudelete_Click(); };
    mnuall.on_click = [this] { list_editing.mnuall_Click(); };
    mnudisplay.on_click = [this] { list_editing.mnudisplay_Click(); };
    mnurecord.on_click = [this] { list_recording.mnurecord_Click(); };
    Timer_aufnahme.on_tick = [this] { list_recording.Timer_aufnahme_Timer(); };

    // Editor.
    Timer_combobox.on_tick = [this] { panels.Timer_combobox_Timer(); };
    txt_0_wait.on_change = [this] { fields.txt_0_wait_Change(); };
    txt_0_wait.on_lost_focus = [this] { fields.txt_0_wait_LostFocus(); };
    txt_0_loop.on_change = [this] { fields.txt_0_loop_Change(); };
    txt_0_loop.on_lost_focus = [this] { fields.txt_0_loop_LostFocus(); };
    txt_1_random1.on_change = [this] { fields.txt_1_random1_Change(); };
    txt_1_random2.on_change = [this] { fields.txt_1_random2_Change(); };
    txt_2_x.on_change = [this] { fields.txt_2_x_Change(); };
    txt_2_y.on_change = [this] { fields.txt_2_y_Change(); };
    opt_3_click.on_click = [this](int i) { fields.opt_3_click_Click(i); };
    txt_4_eingabetext.on_change = [this] { fields.txt_4_eingabetext_Change(); };
    txt_5_start.on_change = [this] { fields.txt_5_start_Change(); };
    txt_5_hochzählen.on_change = [this] { fields.txt_5_hochzählen_Change(); };
    txt_6_pfad.on_change = [this] { fields.txt_6_pfad_Change(); };
    opt_7_pc.on_click = [this](int i) { fields.opt_7_pc_Click(i); };
    com_8_laufwerk.on_click = [this] { fields.com_8_laufwerk_Click(); };
    com_8_move.on_click = [this] { fields.com_8_move_Click(); };
    txt_9_pfad.on_change = [this] { fields.txt_9_pfad_Change(); };
    txt_10_x.on_change = [this] { fields.txt_10_x_Change(); };
    txt_10_y.on_change = [this] { fields.txt_10_y_Change(); };
    txt_10_abbruch.on_change = [this] { fields.txt_10_abbruch_Change(); };
    com_0_startcode.on_click = [this] { fields.com_0_startcode_Click(); };
    com_0_abbruchcode.on_click = [this] { fields.com_0_abbruchcode_Click(); };
    cmd_6_pfad.on_click = [this] { fields.cmd_6_pfad_Click(); };
    cmd_9_pfad.on_click = [this] { fields.cmd_9_pfad_Click(); };
    Timer_XYPos.on_tick = [this] { fields.Timer_XYPos_Timer(); };
    com_4_eingabebefehl.on_click = [this] { composer.com_4_eingabebefehl_Click(); };

    // Application and appearance.
    cmd_neu.on_click = [this] { document.new_macro(); };
    chk_0_transparenz.on_click = [this] { appearance.chk_0_transparenz_Click(); };
    chk_0_vordergrund.on_click = [this] { appearance.chk_0_vordergrund_Click(); };
    Timer_transparenz.on_tick = [this] { appearance.Timer_transparenz_Timer(); };
    img_vantrellogo.on_click = [this] { appearance.img_vantrellogo_Click(); };

    // Engine.
    cmd_start.on_click = [this] { run.cmd_start_Click(); };
    Timer_befehlstart.on_tick = [this] { run.Timer_befehlstart_Timer(); };
    Timer_befehlstop.on_tick = [this] { run.Timer_befehlstop_Timer(); };
    // A hot-key poll that would see no change may be slept through.
    Timer_befehlstart.idle = [this] {
        return !run.request_waiting() &&
               platform.key_state_settled(static_cast<int>(wert_aus_text(startcode)));
    };
    Timer_befehlstop.idle = [this] {
        return !run.request_waiting() &&
               platform.key_state_settled(static_cast<int>(wert_aus_text(abbruchcode)));
    };
    lst_code.on_dbl_click = [this] { run.lst_code_DblClick(); };
    Timer_startloop.on_tick = [this] { scheduler.Timer_startloop_Timer(); };
    Timer_start.on_tick = [this] { scheduler.Timer_start_Timer(); };

    panels.wire_plain_fields();
}

std::vector<form::Control*> frm_mavorin::all_controls() {
    // The form table is the one list of the form's controls; the popup menu hangs off the list.
    std::vector<form::Control*> v = {&form, &mnulistboxcode};
    for (const FormRow& row : form_table()) v.push_back(&row.control(*this));
    for (const MenuRow& row : popup_menu_table())
        if (row.item) v.push_back(row.item(*this));
    return v;
}

int frm_mavorin::message_box(const std::string& text, int style) {
    form::EventLoop::Hold hold(loop);
    return platform.message_box(text, style);
}

int frm_mavorin::ask(const Question& question) {
    form::EventLoop::Hold hold(loop);
    return platform.ask(question);
}

bool frm_mavorin::desktop_reachable() {
    if (no_desktop.empty()) return true;
    notice("Makros können hier nicht laufen: " + no_desktop);
    return false;
}

void frm_mavorin::notice(const std::string& text) {
    if (headless) {
        if (on_notice) on_notice(text);
        return;
    }
    Question q;
    q.text = text;
    q.buttons = {"OK"};
    ask(q);
}

void frm_mavorin::halt() {
    end_carried_out = true;
    for (Timer* t : {&Timer_befehlstart, &Timer_befehlstop, &Timer_startloop, &Timer_start,
                     &Timer_XYPos, &Timer_combobox, &Timer_transparenz})
        t->set_enabled(false);
}

}  // namespace mavorin
