// Start-up, New and closing of the window, and the window options of a macro file's first line.
#include "app/startup.hpp"

#include <algorithm>

#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"

namespace mavorin {

namespace {

std::string in_current_folder(frm_mavorin& w, const char* name) {
    return w.platform.current_folder() + w.platform.path_separator() + name;
}

void build_default_macro(frm_mavorin& w) {
    w.befehl[0] = "code:|000|wait:|" + w.txt_0_wait.text() + "|loop:|" + w.txt_0_loop.text() +
                  "|start:|" + w.startname + "|stop:|" + w.abbruchname + "|";
    for (int i = 1; i <= 3; ++i) w.befehl[i] = kDefaultRecord;
}

}  // namespace

void Startup::apply_background(unsigned color) {
    w.frame_vantrel.set_back_color(color);
    w.form.set_back_color(color);
}

void Startup::Form_Load() {
    LoadingScope loading(w);
    // "Laden" starts disabled, as designed; only an existing file enables it.
    w.cmd_load.set_enabled(false);
    w.dateipfad = "mavorin.mvn";
    w.twips_x = w.platform.twips_per_pixel_x();
    w.twips_y = w.platform.twips_per_pixel_y();
    w.transparent_aktiv = 0;
    w.code_anzahl = w.com_code.list_count();
    w.befehle_max = 32000;
    w.liste_max = 999;
    w.img_mavorin.set_picture(0);
    apply_background(kStartColor);
    w.abbruchcode = "&H1B";
    w.abbruchname = "ESC";
    w.startcode = "&H7C";
    w.zahl = 0;
    w.number_blank = false;
    w.befehl_aktuell = 0;
    w.befehl_anzahl = static_cast<int>(wert_aus_text(w.txt_befehle.text()));
    w.com_code0.set_text("Grundeinstellungen");
    w.com_0_startcode.set_text("no");
    w.com_0_abbruchcode.set_text("ESC");
    w.startname = "no";
    w.abbruchname = "ESC";
    w.com_code.set_text("Zufall Wartezeit");
    w.opt_3_click.select(0);
    w.opt_7_pc.select(0);
    w.mausklick = "left";
    w.pcbefehl = "lockpc";
    w.txt_6_pfad.set_text(in_current_folder(w, "Mavorin.exe"));
    w.system.laufwerke_einlesen();
    w.txt_9_pfad.set_text(in_current_folder(w, "screenshot.bmp"));
    build_default_macro(w);
    w.command_list.befehlsliste();

    const std::string c = w.platform.command_line();
    std::string zeichen;
    if (c.size() > 5) zeichen = c.substr(c.size() - 5, 4);
    if (zeichen == ".mvn") {
        std::string path;
        for (char ch : c)
            if (ch != '"') path.push_back(ch);
        w.dateipfad = path;
        // A loaded file is already shown and running; only a failed one needs the panel here.
        if (!w.macro_file.parameter_lesedatei()) w.panels.codesichtbar();
    } else {
        if (w.platform.file_exists(w.dateipfad)) {
            w.cmd_load.set_enabled(true);
            w.macro_file.beginn_lesedatei();
        }
        w.panels.codesichtbar();
    }
}

void Startup::cmd_neu_Click() {
    LoadingScope loading(w);
    w.dateipfad = "mavorin.mvn";
    w.hsc_befehle.set_value(0);
    w.befehl_aktuell = 0;
    w.zahl = 0;
    w.number_blank = false;
    w.command_list.set_count(3);
    w.lbl_hscaktuell.set_caption("0");
    w.com_code0.set_text("Grundeinstellungen");
    w.com_code.set_text("Zufall Wartezeit");
    w.com_code0.set_visible(true);
    w.com_code.set_visible(false);
    w.txt_0_wait.set_text("500");
    w.txt_0_loop.set_text("1");
    w.com_0_startcode.set_text("no");
    w.com_0_abbruchcode.set_text("ESC");
    w.startname = "no";
    w.abbruchname = "ESC";
    w.chk_0_transparenz.set_value(0);
    w.chk_0_vordergrund.set_value(0);
    w.chk_0_listbox.set_value(1);
    w.txt_1_random1.set_text("0");
    w.txt_1_random2.set_text("0");
    w.txt_2_x.set_text("0");
    w.txt_2_y.set_text("0");
    w.opt_3_click.select(0);
    w.mausklick = "left";
    w.txt_4_eingabetext.set_text("");
    w.txt_5_start.set_text("0");
    w.txt_5_hochzählen.set_text("1");
    w.txt_6_pfad.set_text(in_current_folder(w, "Mavorin.exe"));
    w.opt_7_pc.select(0);
    w.pcbefehl = "lockpc";
    w.system.laufwerke_einlesen();
    w.txt_9_pfad.set_text(in_current_folder(w, "Screenshot.bmp"));
    w.txt_10_x.set_text("0");
    w.txt_10_y.set_text("0");
    w.txt_10_abbruch.set_text("0");
    for (auto* a : {&w.befehl, &w.befehl_code, &w.befehl_wert1, &w.befehl_wert2})
        std::fill(a->begin(), a->end(), std::string());
    build_default_macro(w);
    w.trust.made_new();
    w.cmd_load.set_enabled(w.platform.file_exists(w.dateipfad));
    w.command_list.befehlsliste();
    w.code_aktuell = 0;
    w.panels.codesichtbar();
}

void Startup::Form_Unload() {
    w.platform.block_input(false);
    w.platform.end_program();
    w.halt();
}

void Startup::form_eigenschaften() {
    const int options = static_cast<int>(header_digit(w.kopfzeile, 7));
    const int scheme = static_cast<int>(header_digit(w.kopfzeile, 9));
    // -1 leaves a box unchanged.
    static const int table[8][3] = {{0, 0, 1},   {1, -1, -1}, {-1, 1, -1}, {1, 1, -1},
                                    {-1, -1, 0}, {1, -1, 0},  {-1, 1, 0},  {1, 1, 0}};
    if (options == 9) {
        show_in_taskbar = false;
    } else {
        const int* row = (options >= 1 && options <= 7) ? table[options] : table[0];
        if (row[0] >= 0) w.chk_0_transparenz.set_value(row[0]);
        if (row[1] >= 0) w.chk_0_vordergrund.set_value(row[1]);
        if (row[2] >= 0) w.chk_0_listbox.set_value(row[2]);
        if (!(options >= 1 && options <= 7)) show_in_taskbar = true;
    }
    if (scheme >= 1 && scheme <= 3) {
        w.img_mavorin.set_picture(scheme - 1);
        apply_background(kSchemeColors[scheme - 1]);
    }
}

}  // namespace mavorin
