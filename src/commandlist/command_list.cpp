// The command list box and navigation: scroll bar, count box, arrows, insert-copy, the code combo.
#include "commandlist/command_list.hpp"

#include <algorithm>

#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"

namespace mavorin {

std::string list_line(int index, const std::string& record) {
    // Number pattern "00#": two forced digits and one optional digit that shows nothing for 0.
    std::string num = index == 0 ? "00" : std::to_string(index);
    while (num.size() < 3 && index != 0) num.insert(num.begin(), '0');
    std::string text = record;
    std::replace(text.begin(), text.end(), '|', ' ');
    return num + " - " + text;
}

void CommandList::befehlsliste() {
    w.liste_anzahl = std::min(w.befehl_anzahl, w.liste_max);
    std::vector<std::string> lines;
    lines.reserve(std::max(0, std::min(w.liste_anzahl + 1, kSlots)));
    for (int i = 0; i <= w.liste_anzahl && i < kSlots; ++i)
        lines.push_back(list_line(i, w.befehl[i]));
    // A run rebuilds the list on every step; unchanged, the view is left alone.
    w.lst_code.set_items(std::move(lines),
                         w.befehl_aktuell <= w.liste_anzahl ? w.befehl_aktuell : -1);
}

void CommandList::set_count(int n) {
    w.txt_befehle.set_text(number_text(n));
    w.hsc_befehle.set_max(n);
    w.lbl_hscmax.set_caption(number_text(n));
    w.befehl_anzahl = n;
}

namespace {

// The pause and loop fields are brought into range whenever the current command moves.
void normalise_settings_fields(frm_mavorin& w) {
    if (wert_aus_text(w.txt_0_wait.text()) < 10) w.txt_0_wait.set_text("10");
    if (wert_aus_text(w.txt_0_loop.text()) < 1) w.txt_0_loop.set_text("0");
}

void show_code_combo_for_current(frm_mavorin& w) {
    if (w.befehl_aktuell == 0) {
        w.com_code0.set_visible(true);
        w.com_code.set_visible(false);
        w.code_aktuell = 0;
    } else {
        w.com_code.set_visible(true);
        w.com_code0.set_visible(false);
        w.code_aktuell = 1;
    }
}

}  // namespace

void CommandList::hsc_befehle_Change() {
    if (w.laden || w.running()) return;
    LoadingScope loading(w);
    normalise_settings_fields(w);
    w.befehl_aktuell = w.hsc_befehle.value();
    w.lbl_hscaktuell.set_caption(number_text(w.befehl_aktuell));
    show_code_combo_for_current(w);
    w.records.befehl_aktuellencode();
    w.panels.codesichtbar();
    befehlsliste();
}

void CommandList::txt_befehle_Change() {
    if (w.laden || w.running()) return;
    double typed = wert_aus_text(w.txt_befehle.text());
    if (typed > w.befehle_max) {
        // The correction runs this handler again with the corrected text.
        w.txt_befehle.set_text(number_text(w.befehle_max));
        return;
    }
    if (typed < 1) return;
    // The scroll bar's maximum is a whole number; the count follows it.
    const int n = std::max(1, static_cast<int>(round_half_even(typed)));
    w.hsc_befehle.set_max(n);
    w.lbl_hscmax.set_caption(number_text(n));
    w.befehl_anzahl = n;
    for (int i = 0; i <= n && i < kSlots; ++i)
        if (w.befehl[i].empty()) w.befehl[i] = kDefaultRecord;
    befehlsliste();
}

void CommandList::txt_befehle_LostFocus() {
    if (w.laden) return;
    if (wert_aus_text(w.txt_befehle.text()) < 1) w.txt_befehle.set_text("1");
}

void CommandList::img_befehl_right_Click() {
    const double count = wert_aus_text(w.txt_befehle.text());
    if (!(count < w.befehle_max)) return;
    // A negative count in the box (it only ignores such text) has no slot to write.
    const long long n = round_half_even(count) + 1;
    if (n < 1 || n > w.befehle_max) return;
    LoadingScope loading(w);
    set_count(static_cast<int>(n));
    w.befehl[n] = kDefaultRecord;
    befehlsliste();
}

void CommandList::img_befehl_left_Click() {
    const double count = wert_aus_text(w.txt_befehle.text());
    if (!(count > 1)) return;
    const long long n = round_half_even(count) - 1;
    if (n < 1 || n > w.befehle_max) return;
    LoadingScope loading(w);
    set_count(static_cast<int>(n));
    if (w.befehl_aktuell > w.befehl_anzahl) {
        w.befehl_aktuell = w.befehl_anzahl;
        w.lbl_hscaktuell.set_caption(number_text(w.befehl_aktuell));
        // Parse the record that became current, so the panel shows its own values.
        w.records.befehl_aktuellencode();
        w.panels.codesichtbar();
    }
    befehlsliste();
}

void CommandList::mnunewcommand_Click() {
    if (w.befehl_anzahl >= w.liste_max) return;
    LoadingScope loading(w);
    int p = 0;
    for (int i = 0; i <= w.befehl_anzahl && i < w.lst_code.list_count(); ++i) {
        if (w.lst_code.selected(i)) {
            p = i;
            break;
        }
    }
    const int n = w.befehl_anzahl + 1;
    set_count(n);
    for (int i = n; i >= p + 1; --i) w.befehl[i] = (i == 1) ? w.befehl[2] : w.befehl[i - 1];
    befehlsliste();
}

void CommandList::codebox_auswahlclick() {
    w.liste_anzahl = std::min(w.befehl_anzahl, w.liste_max);
    int selected = 0;
    for (int i = 0; i <= w.liste_anzahl; ++i) selected += w.lst_code.selected(i);
    if (selected >= 2) return;
    normalise_settings_fields(w);
    w.combo_sperre = true;
    w.befehl_aktuell = std::max(0, w.lst_code.list_index());
    w.hsc_befehle.set_value(w.befehl_aktuell);
    w.lbl_hscaktuell.set_caption(number_text(w.befehl_aktuell));
    show_code_combo_for_current(w);
    w.records.befehl_aktuellencode();
}

void CommandList::com_code_Click() {
    if (w.laden) return;
    LoadingScope loading(w);
    // With no entry chosen there is no code to write (it would read as the settings code).
    if (!w.running() && (w.befehl_aktuell == 0 || w.com_code.list_index() >= 0)) {
        w.code_aktuell = w.befehl_aktuell == 0 ? 0 : w.com_code.list_index() + 1;
        w.records.schreibebefehl();
        w.records.befehl_aktuellencode();
        w.panels.codesichtbar();
    }
}

void CommandList::chk_0_listbox_Click() {
    w.lst_code.set_visible(w.chk_0_listbox.value() != 0);
}

}  // namespace mavorin
