// Editing in the command list: popup menu and keys, the copy buffer, select all, list size.
#include "commandlist/list_editing.hpp"

#include <algorithm>

#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"

namespace mavorin {

namespace {

int shown_lines(frm_mavorin& w) {
    w.liste_anzahl = std::min(w.befehl_anzahl, w.liste_max);
    return w.liste_anzahl;
}

int first_selected(frm_mavorin& w) {
    for (int i = 0; i <= shown_lines(w); ++i)
        if (w.lst_code.selected(i)) return i;
    return 0;
}

}  // namespace

void ListEditing::lst_code_MouseDown(int button, int, float, float) {
    LoadingScope loading(w);
    if (button == 2) {
        const bool settings = w.lst_code.selected(0);
        w.mnucut.set_enabled(!settings);
        w.mnucopy.set_enabled(!settings);
        w.mnudelete.set_enabled(!settings);
        if (w.befehl_anzahl <= 1) {
            w.mnucut.set_enabled(false);
            w.mnudelete.set_enabled(false);
        }
        w.mnupaste.set_enabled(!w.befehl_kopie[0].empty());
        w.mnulistboxcode.popup();
    } else if (button == 1) {
        w.command_list.codebox_auswahlclick();
        w.panels.codesichtbar();
    }
}

void ListEditing::lst_code_KeyUp(int key, int) {
    LoadingScope loading(w);
    if (key >= 33 && key <= 40) {
        w.command_list.codebox_auswahlclick();
        w.panels.codesichtbar();
    } else if (key == 46) {
        mnudelete_Click();
    }
}

void ListEditing::lst_code_KeyPress(int ch) {
    LoadingScope loading(w);
    switch (ch) {
        case 1:
            mnuall_Click();
            break;
        case 3:
            mnucopy_Click();
            break;
        case 4:
            mnudisplay_Click();
            break;
        case 14:
            w.command_list.mnunewcommand_Click();
            break;
        case 22:
            mnupaste_Click();
            break;
        case 24:
            mnucut_Click();
            break;
        default:
            break;
    }
}

void ListEditing::mnucopy_Click() {
    if (w.befehl_aktuell == 0) return;
    LoadingScope loading(w);
    std::fill(w.befehl_kopie.begin(), w.befehl_kopie.end(), std::string());
    int k = 0;
    for (int i = 0; i <= shown_lines(w); ++i)
        if (w.lst_code.selected(i)) w.befehl_kopie[k++] = w.befehl[i];
    w.kopie_anzahl = k;
    w.trust.copied();
}

void ListEditing::mnucut_Click() {
    if (w.befehl_aktuell == 0) return;
    mnucopy_Click();
    mnudelete_Click();
}

void ListEditing::mnudelete_Click() {
    if (w.befehl_aktuell == 0 || w.lst_code.selected(0)) return;
    LoadingScope loading(w);
    const int shown = shown_lines(w);
    int s = 0;
    for (int i = 0; i <= shown; ++i) s += w.lst_code.selected(i);
    int d = 0;
    const bool all = s == w.befehl_anzahl;
    for (int i = all ? 2 : 0; i <= (all ? w.befehl_anzahl : shown); ++i) {
        if (w.lst_code.selected(i)) {
            w.befehl[i].clear();
            ++d;
        }
    }
    // Close the gaps, keeping the order.
    for (int i = 0; i <= w.befehl_anzahl; ++i) {
        if (!w.befehl[i].empty()) continue;
        for (int j = i + 1; j <= w.befehl_anzahl; ++j) {
            if (!w.befehl[j].empty()) {
                w.befehl[i] = std::move(w.befehl[j]);
                w.befehl[j].clear();
                break;
            }
        }
    }
    w.command_list.set_count(w.befehl_anzahl - d);
    if (w.befehl_aktuell > w.befehl_anzahl) {
        w.befehl_aktuell = w.befehl_anzahl;
        w.lbl_hscaktuell.set_caption(number_text(w.befehl_aktuell));
    }
    w.command_list.befehlsliste();
    w.records.befehl_aktuellencode();
    w.panels.codesichtbar();
}

void ListEditing::mnupaste_Click() {
    LoadingScope loading(w);
    const int p = first_selected(w);
    int n = 0;
    while (n < kSlots && !w.befehl_kopie[n].empty()) ++n;
    if (w.befehl_anzahl + n > w.liste_max) return;
    entfernte_befehle_leeren();
    const int old_count = w.befehl_anzahl;
    w.command_list.set_count(old_count + n);
    // Commands after p move up by n places (an empty buffer moves nothing).
    for (int i = old_count; n > 0 && i > p; --i) {
        w.befehl[i + n] = std::move(w.befehl[i]);
        w.befehl[i].clear();
    }
    for (int k = 0; k < n; ++k) w.befehl[p + 1 + k] = w.befehl_kopie[k];
    if (n > 0) w.trust.pasted();
    w.command_list.befehlsliste();
}

void ListEditing::mnuall_Click() {
    LoadingScope loading(w);
    const int shown = shown_lines(w);
    for (int i = 1; i <= shown; ++i) w.lst_code.set_selected(i, true);
    w.lst_code.set_selected(0, false);
    w.befehl_aktuell = 1;
    w.lbl_hscaktuell.set_caption("1");
    w.hsc_befehle.set_value(1);
    w.com_code.set_visible(true);
    w.com_code0.set_visible(false);
    w.records.befehl_aktuellencode();
    w.panels.codesichtbar();
}

void ListEditing::mnudisplay_Click() {
    if (w.mnudisplay.caption() == "Mehr anzeigen") {
        w.lst_code.set_height(268);
        w.form.set_height_twips(9619);
        w.mnudisplay.set_caption("Weniger anzeigen");
    } else {
        w.lst_code.set_height(134);
        w.form.set_height_twips(7665);
        w.mnudisplay.set_caption("Mehr anzeigen");
    }
}

void ListEditing::entfernte_befehle_leeren() {
    for (int i = w.befehl_anzahl + 1; i < kSlots; ++i) w.befehl[i].clear();
}

}  // namespace mavorin
