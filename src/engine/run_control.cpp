// Run control: start and stop, the global hot keys, and running one command on a double click.
#include "engine/run_control.hpp"

#include <algorithm>
#include <set>
#include <utility>

#include "app/form_table.hpp"
#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"

namespace mavorin {

std::vector<form::Control*> RunControl::fields_after_com_code() {
    frm_mavorin& f = w;
    std::set<form::Control*> inputs;
    for (const FormRow& row : form_table())
        if (row.takes_focus()) inputs.insert(&row.control(f));
    // Every panel's fields, then the list and the save buttons.
    std::vector<form::Control*> c;
    for (const CommandRow& row : command_rows())
        for (form::Control* k : row.panel(f))
            if (inputs.count(k) && std::find(c.begin(), c.end(), k) == c.end()) c.push_back(k);
    // Without a CD drive the CD fields stay disabled for good.
    if (f.kein_laufwerk)
        std::erase_if(
            c, [&](form::Control* k) { return k == &f.com_8_laufwerk || k == &f.com_8_move; });
    c.insert(c.end(), {&f.hsc_befehle, &f.lst_code, &f.cmd_save, &f.cmd_save2});
    return c;
}

void RunControl::lock_editor(bool locked) {
    frm_mavorin& f = w;
    if (locked) {
        for (form::Control* c : std::initializer_list<form::Control*>{
                 &f.cmd_neu, &f.cmd_load, &f.cmd_load2, &f.img_befehl_left, &f.img_befehl_right,
                 &f.txt_befehle, &f.com_code})
            c->set_enabled(false);
        f.com_code.set_visible(true);
        f.com_code0.set_visible(false);
    }
    for (form::Control* c : fields_after_com_code()) c->set_enabled(!locked);
}

void RunControl::cmd_start_Click() {
    frm_mavorin& f = w;
    // Cleared, not restored: a file started at start-up runs this inside start-up's guard, and
    // the steps of start-up that follow have always run with the handlers live.
    LoadingScope loading(f, LoadingScope::OnExit::clear);
    if (f.cmd_start.caption() != "Start") {
        start_stop();
        return;
    }
    if (!f.desktop_reachable()) return;
    // "Abbrechen" leaves everything as it was: no step runs.
    if (!f.gate.may_run()) return;
    const double shown_wait = wert_aus_text(f.txt_0_wait.text());
    if (shown_wait < 10)
        f.txt_0_wait.set_text("10");
    else if (shown_wait > 60000)
        f.txt_0_wait.set_text("60000");
    if (wert_aus_text(f.txt_0_loop.text()) < 0) f.txt_0_loop.set_text("0");

    f.zahl_neu = true;
    f.zahl = 0;
    f.zahl_naechste = 0;
    f.next_number_blank = false;
    f.number_blank = false;
    f.pixel_status = 0;
    for (int i = 0; i <= f.befehl_anzahl && i < kSlots; ++i) {
        f.befehl_aktuell = i;
        f.records.befehl_aktuellencode();
        if (i == 0) {
            double wait = wert_aus_text(f.befehl_wert1[0]);
            if (wait < 0) f.befehl_wert1[0] = "0";
            if (wait > 60000) f.befehl_wert1[0] = "60000";
            f.wartezeit = wert_aus_text(f.befehl_wert1[0]);
            f.wiederholungen = wert_aus_text(f.befehl_wert2[0]);
        }
        if (f.befehl[i].empty()) {
            f.befehl[i] = kDefaultRecord;
            f.befehl_wert1[i] = "0";
        }
    }
    f.befehl_aktuell = 0;
    f.durchlauf = 0;
    f.command_list.befehlsliste();
    f.cmd_start.set_caption(f.abbruchname + "=Stop");
    lock_editor(true);
    if (f.wartezeit < 10) f.wartezeit = 10;
    f.Timer_start.set_interval(static_cast<long>(round_half_even(f.wartezeit)));
    drop_requests();
    f.Timer_befehlstart.set_enabled(false);
    f.Timer_befehlstop.set_enabled(true);
    f.Timer_startloop.set_enabled(true);
}

void RunControl::start_stop() {
    frm_mavorin& f = w;
    f.Timer_start.set_enabled(false);
    f.Timer_startloop.set_enabled(false);
    f.cmd_start.set_caption("Start");
    f.cmd_neu.set_enabled(true);
    f.cmd_load.set_enabled(f.platform.file_exists(f.dateipfad));
    f.cmd_load2.set_enabled(true);
    f.img_befehl_left.set_enabled(true);
    f.img_befehl_right.set_enabled(true);
    f.txt_befehle.set_enabled(true);
    f.hsc_befehle.set_value(0);
    f.lbl_hscaktuell.set_caption("0");
    f.com_code.set_enabled(true);
    f.com_code.set_visible(false);
    f.com_code0.set_visible(true);
    lock_editor(false);
    f.befehl_aktuell = 0;
    f.code_aktuell = 0;
    f.panels.codesichtbar();
    f.command_list.befehlsliste();
    drop_requests();
    f.Timer_befehlstop.set_enabled(false);
    f.Timer_befehlstart.set_enabled(true);
}

void RunControl::Timer_befehlstart_Timer() {
    const int vk = static_cast<int>(wert_aus_text(w.startcode));
    const bool tapped = w.platform.key_state(vk).pressed();
    const bool requested = std::exchange(start_request, false);
    // The abort key is not polled while idle: a tap of it now is lost, and so is a request.
    abort_request = false;
    if (tapped || requested) cmd_start_Click();
}

void RunControl::Timer_befehlstop_Timer() {
    if (abort_key_tapped()) start_stop();
}

bool RunControl::abort_key_tapped() {
    const int vk = static_cast<int>(wert_aus_text(w.abbruchcode));
    const bool tapped = w.platform.key_state(vk).pressed();
    return std::exchange(abort_request, false) || tapped;
}

void RunControl::start_requested() {
    // The start key is polled only while idle; while running it does nothing.
    if (w.Timer_befehlstart.enabled()) start_request = true;
    w.loop.wake();
}

void RunControl::abort_requested() {
    abort_request = true;
    w.loop.wake();
}

void RunControl::lst_code_DblClick() {
    frm_mavorin& f = w;
    LoadingScope loading(f);
    if (f.running() || !f.desktop_reachable()) return;
    const int row = f.lst_code.list_index();
    if (row >= 0) f.befehl_aktuell = row;
    f.records.befehl_aktuellencode();
    const std::string word = f.befehl_wert1[f.befehl_aktuell];
    // These two never run singly, so nothing needs asking about them.
    if (f.code_aktuell == kPcCommandCode && (word == "input-disable" || word == "input-enable"))
        return;
    if (!f.gate.may_run(f.befehl_aktuell)) return;
    if (f.code_aktuell == kPcCommandCode) {
        if (word == "shutdown" || word == "reboot") {
            if (f.message_box("Möchten Sie diesen Befehl wirklich ausführen?", kMbYesNoQuestion) ==
                kIdNo)
                return;
        }
        f.Timer_start.set_interval(100);
    } else {
        // A pause below 1 ms would never fire; run the command after the shortest pause instead.
        long wait = static_cast<long>(round_half_even(wert_aus_text(f.txt_0_wait.text())));
        f.Timer_start.set_interval(wait < 1 ? 10 : wait);
    }
    if (f.code_aktuell != kPixelWatchCode) f.Timer_start.set_enabled(true);
}

}  // namespace mavorin
