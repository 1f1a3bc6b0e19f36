// Editor panels: one set of controls per command code, all in one area, one shown at a time.
#include "editor/panels.hpp"

#include <cmath>

#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"

namespace mavorin {

const std::vector<std::string>& code_names() {
    static const std::vector<std::string> names = {
        "Zufall Wartezeit",    "Mauszeiger zu X/Y Position gehen",  "Mauszeiger Tastendruck",
        "Tastatur Eingabe",    "Zahl hochzählen in Zwischenablage", "Programmpfad öffnen",
        "PC Befehl ausführen", "CD-Laufwerk öffnen/schließen",      "Screenshot erzeugen",
        "Pixel Veränderung"};
    return names;
}

namespace {

const char* const kPrompts[11] = {
    "Welche Grundeinstellungen?",
    "Welche Zufallszeit soll gewartet werden?",
    "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)",
    "Mit welcher Taste klicken?",
    "Welche Befehle und Buchstaben sollen ausgegeben werden?",
    "Welche Zahl soll hochgezählt werden? Wird kopiert in den Zwischenspeicher und in {CODE5}.",
    "Welches Programm soll gestartet werden? (Pfadziel des Programmes eingeben)",
    "Welchen PC Befehl ausführen?",
    "Welches CD-Laufwerk öffnen/schließen?",
    "Screenshot vom Bildschirm erzeugen und speichern? (Pfad angeben)",
    "An welcher X/Y Position soll auf Veränderung geprüft werden? (Enter = Aktuelle Pos.)"};

std::string stored_number_text(const std::string& stored) {
    return number_text(wert_aus_text(stored));
}

int option_of(const std::string& word, std::initializer_list<const char*> words) {
    int i = 0;
    for (const char* w : words) {
        if (word == w) return i;
        ++i;
    }
    return 0;
}

}  // namespace

std::vector<form::Control*> Panels::panel_controls(int code) {
    frm_mavorin& f = w;
    switch (code) {
        case 0:
            return {&f.lbl_0_wait,        &f.txt_0_wait,        &f.lbl_0_ms,
                    &f.lbl_0_loop,        &f.txt_0_loop,        &f.lbl_0_mal,
                    &f.lbl_0_transparenz, &f.chk_0_transparenz, &f.lbl_0_vordergrund,
                    &f.chk_0_vordergrund, &f.lbl_0_listbox,     &f.chk_0_listbox,
                    &f.lbl_0_startcode,   &f.com_0_startcode,   &f.lbl_0_abbruchcode,
                    &f.com_0_abbruchcode};
        case 1:
            return {&f.lbl_1_random, &f.txt_1_random1, &f.txt_1_random2, &f.lbl_1_ms};
        case 2:
            return {&f.lbl_2_X, &f.txt_2_x,      &f.lbl_2_Y,
                    &f.txt_2_y, &f.lbl_2_Xpixel, &f.lbl_2_Ypixel};
        case 3:
            return {&f.opt_3_click[0], &f.opt_3_click[1], &f.opt_3_click[2]};
        case 4:
            return {&f.lbl_4_eingabebefehl, &f.com_4_eingabebefehl, &f.lbl_4_eingabetext,
                    &f.txt_4_eingabetext};
        case 5:
            return {&f.lbl_5_start, &f.txt_5_start, &f.lbl_5_hochzählen, &f.txt_5_hochzählen};
        case 6:
            return {&f.lbl_6_pfad, &f.txt_6_pfad, &f.cmd_6_pfad};
        case 7: {
            std::vector<form::Control*> v;
            for (int i = 0; i < 7; ++i) v.push_back(&f.opt_7_pc[i]);
            return v;
        }
        case 8:
            return {&f.lbl_8_laufwerk, &f.com_8_laufwerk, &f.lbl_8_move, &f.com_8_move};
        case 9:
            return {&f.lbl_9_pfad, &f.txt_9_pfad, &f.cmd_9_pfad};
        case 10:
            return {&f.lbl_2_X,      &f.txt_10_x,     &f.lbl_2_Y,        &f.txt_10_y,
                    &f.lbl_2_Xpixel, &f.lbl_2_Ypixel, &f.lbl_10_abbruch, &f.txt_10_abbruch};
        default:
            return {};
    }
}

std::vector<form::Control*> Panels::hide_order() {
    frm_mavorin& f = w;
    // The settings panel hides "mal" after its check boxes; the shared position labels go once.
    std::vector<form::Control*> v = {
        &f.lbl_0_wait,        &f.txt_0_wait,        &f.lbl_0_ms,          &f.lbl_0_loop,
        &f.txt_0_loop,        &f.lbl_0_transparenz, &f.chk_0_transparenz, &f.lbl_0_vordergrund,
        &f.chk_0_vordergrund, &f.lbl_0_listbox,     &f.chk_0_listbox,     &f.lbl_0_mal,
        &f.lbl_0_startcode,   &f.com_0_startcode,   &f.lbl_0_abbruchcode, &f.com_0_abbruchcode};
    for (int code = 1; code <= 9; ++code)
        for (form::Control* c : panel_controls(code)) v.push_back(c);
    v.insert(v.end(), {&f.txt_10_x, &f.txt_10_y, &f.lbl_10_abbruch, &f.txt_10_abbruch});
    return v;
}

void Panels::codesichtbar() {
    frm_mavorin& f = w;
    for (form::Control* c : hide_order()) c->set_visible(false);
    f.Timer_XYPos.set_enabled(false);
    f.Timer_combobox.set_enabled(true);

    const double code = f.code_aktuell;
    if (!(code >= 0 && code <= 10) || code != std::floor(code)) return;
    const int k = static_cast<int>(code);
    const int i = f.befehl_aktuell;
    if (i < 0 || i >= kSlots) return;
    const bool own = wert_aus_text(f.befehl_code[i]) == k;
    f.lbl_info.set_caption(kPrompts[k]);
    const std::string sep = f.platform.path_separator();
    switch (k) {
        case 1:
            f.txt_1_random1.set_text(own ? stored_number_text(f.befehl_wert1[i]) : "0");
            f.txt_1_random2.set_text(own ? stored_number_text(f.befehl_wert2[i]) : "0");
            break;
        case 2:
            f.txt_2_x.set_text(own ? stored_number_text(f.befehl_wert1[i]) : "0");
            f.txt_2_y.set_text(own ? stored_number_text(f.befehl_wert2[i]) : "0");
            break;
        case 3:
            f.opt_3_click.select(option_of(f.befehl_wert1[i], {"left", "middle", "right"}));
            break;
        case 4:
            f.txt_4_eingabetext.set_text(own ? f.befehl_wert1[i] : "");
            break;
        case 5:
            f.txt_5_start.set_text(own ? f.befehl_wert1[i] : "0");
            f.txt_5_hochzählen.set_text(own ? f.befehl_wert2[i] : "1");
            break;
        case 6:
            f.txt_6_pfad.set_text(own ? f.befehl_wert1[i]
                                      : f.platform.current_folder() + sep + "Mavorin.exe");
            break;
        case 7:
            f.opt_7_pc.select(
                option_of(f.befehl_wert1[i], {"lockpc", "reboot", "shutdown", "screenoff", "end",
                                              "input-disable", "input-enable"}));
            break;
        case 8:
            if (!f.kein_laufwerk) {
                for (int e = 0; e <= 25 && e < f.com_8_laufwerk.list_count(); ++e) {
                    const std::string entry = f.com_8_laufwerk.item(e);
                    if (!entry.empty() && entry == f.befehl_wert1[i])
                        f.com_8_laufwerk.set_list_index(e);
                }
                f.com_8_move.set_text(f.befehl_wert2[i] == "close" ? "Einziehen" : "Auswerfen");
            }
            break;
        case 9:
            f.txt_9_pfad.set_text(own ? f.befehl_wert1[i]
                                      : f.platform.current_folder() + sep + "Screenshot.bmp");
            break;
        case 10:
            f.txt_10_x.set_text(own ? stored_number_text(f.befehl_wert1[i]) : "0");
            f.txt_10_y.set_text(own ? stored_number_text(f.befehl_wert2[i]) : "0");
            f.txt_10_abbruch.set_text(own ? stored_number_text(f.befehl_wert3[i]) : "0");
            break;
        default:
            break;
    }
    if (k == 2 || k == 10) f.Timer_XYPos.set_enabled(true);
    for (form::Control* c : panel_controls(k)) c->set_visible(true);
    if (k == 8) f.command_list.befehlsliste();
}

void Panels::Timer_combobox_Timer() {
    frm_mavorin& f = w;
    // Cleared, not restored: the tick also frees the handlers from a flag an earlier operation
    // left set.
    LoadingScope loading(f, LoadingScope::OnExit::clear);
    const double code = f.code_aktuell;
    if (code >= 1 && code <= 10 && code == std::floor(code)) {
        f.com_code.set_text(code_names()[static_cast<int>(code) - 1]);
        if (code == 4) f.com_4_eingabebefehl.set_list_index(0);
    }
    f.combo_sperre = false;
    f.Timer_combobox.set_enabled(false);
}

}  // namespace mavorin
