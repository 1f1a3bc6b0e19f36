// The command table: everything a code means to the editor, the record, the list and a run.
#include "app/commands.hpp"

#include <array>
#include <cmath>
#include <string_view>

#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

using Controls = std::vector<form::Control*>;

// The option words, by option index.
constexpr std::array<const char*, 3> kClickWords = {"left", "middle", "right"};
constexpr std::array<const char*, 7> kPcWords = {
    "lockpc", "reboot", "shutdown", "screenoff", "end", "input-disable", "input-enable"};

std::string pair(const char* key, const std::string& value) {
    return std::string(key) + ":|" + value + "|";
}

std::string number_of(const TextBox& box) {
    return number_text(wert_aus_text(box.text()));
}

std::string stored_number_text(const std::string& stored) {
    return number_text(wert_aus_text(stored));
}

// The first selected option sets the word; with none selected the word stays.
template <size_t N>
const std::string& chosen_word(const OptionGroup& group, const std::array<const char*, N>& words,
                               std::string& word) {
    for (size_t i = 0; i < N; ++i)
        if (group[i].value()) {
            word = words[i];
            break;
        }
    return word;
}

// Any word outside the list selects the first option.
template <size_t N>
int option_of(const std::string& word, const std::array<const char*, N>& words) {
    for (size_t i = 0; i < N; ++i)
        if (word == words[i]) return static_cast<int>(i);
    return 0;
}

template <size_t N>
Controls all_options(OptionGroup& group) {
    Controls v;
    for (size_t i = 0; i < N; ++i) v.push_back(&group[i]);
    return v;
}

std::string default_path(frm_mavorin& w, const char* file) {
    return w.platform.current_folder() + w.platform.path_separator() + file;
}

void no_fill(frm_mavorin&, int, bool) {}

constexpr CommandRow kRows[] = {
    {"Grundeinstellungen", "Welche Grundeinstellungen?",
     [](frm_mavorin& w) {
         return pair("wait", number_of(w.txt_0_wait)) + pair("loop", number_of(w.txt_0_loop)) +
                pair("start", w.startname) + pair("stop", w.abbruchname);
     },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_0_wait,        &w.txt_0_wait,        &w.lbl_0_ms,
                 &w.lbl_0_loop,        &w.txt_0_loop,        &w.lbl_0_mal,
                 &w.lbl_0_transparenz, &w.chk_0_transparenz, &w.lbl_0_vordergrund,
                 &w.chk_0_vordergrund, &w.lbl_0_listbox,     &w.chk_0_listbox,
                 &w.lbl_0_startcode,   &w.com_0_startcode,   &w.lbl_0_abbruchcode,
                 &w.com_0_abbruchcode};
     },
     no_fill, nullptr, false, false},
    {"Zufall Wartezeit", "Welche Zufallszeit soll gewartet werden?",
     [](frm_mavorin& w) {
         const double a = wert_aus_text(w.txt_1_random1.text());
         const double b = wert_aus_text(w.txt_1_random2.text());
         // Equal bounds write the short form.
         return pair("wait", number_text(a)) + (a != b ? pair("maxwait", number_text(b)) : "");
     },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_1_random, &w.txt_1_random1, &w.txt_1_random2, &w.lbl_1_ms};
     },
     [](frm_mavorin& w, int i, bool own) {
         w.txt_1_random1.set_text(own ? stored_number_text(w.befehl_wert1[i]) : "0");
         w.txt_1_random2.set_text(own ? stored_number_text(w.befehl_wert2[i]) : "0");
     },
     [](frm_mavorin& w) { w.scheduler.random_wait(); }, false, false},
    {"Mauszeiger zu X/Y Position gehen",
     "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)",
     [](frm_mavorin& w) {
         return pair("xpos", number_of(w.txt_2_x)) + pair("ypos", number_of(w.txt_2_y));
     },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_2_X, &w.txt_2_x, &w.lbl_2_Y, &w.txt_2_y, &w.lbl_2_Xpixel, &w.lbl_2_Ypixel};
     },
     [](frm_mavorin& w, int i, bool own) {
         w.txt_2_x.set_text(own ? stored_number_text(w.befehl_wert1[i]) : "0");
         w.txt_2_y.set_text(own ? stored_number_text(w.befehl_wert2[i]) : "0");
     },
     [](frm_mavorin& w) { w.input.move_mouse_pointer(); }, true, false},
    {"Mauszeiger Tastendruck", "Mit welcher Taste klicken?",
     [](frm_mavorin& w) {
         return pair("mouseclick", chosen_word(w.opt_3_click, kClickWords, w.mausklick));
     },
     [](frm_mavorin& w) { return all_options<kClickWords.size()>(w.opt_3_click); },
     // The word is read whatever the record's code.
     [](frm_mavorin& w, int i, bool) {
         w.opt_3_click.select(option_of(w.befehl_wert1[i], kClickWords));
     },
     [](frm_mavorin& w) { w.input.click_mouse(); }, false, false},
    {"Tastatur Eingabe", "Welche Befehle und Buchstaben sollen ausgegeben werden?",
     [](frm_mavorin& w) { return pair("text", w.txt_4_eingabetext.text()); },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_4_eingabebefehl, &w.com_4_eingabebefehl, &w.lbl_4_eingabetext,
                 &w.txt_4_eingabetext};
     },
     [](frm_mavorin& w, int i, bool own) {
         w.txt_4_eingabetext.set_text(own ? w.befehl_wert1[i] : "");
     },
     [](frm_mavorin& w) { w.input.type_keys(); }, false, false},
    {"Zahl hochzählen in Zwischenablage",
     "Welche Zahl soll hochgezählt werden? Wird kopiert in den Zwischenspeicher und in {CODE5}.",
     [](frm_mavorin& w) {
         return pair("start", number_of(w.txt_5_start)) +
                pair("step", number_of(w.txt_5_hochzählen));
     },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_5_start, &w.txt_5_start, &w.lbl_5_hochzählen, &w.txt_5_hochzählen};
     },
     [](frm_mavorin& w, int i, bool own) {
         w.txt_5_start.set_text(own ? w.befehl_wert1[i] : "0");
         w.txt_5_hochzählen.set_text(own ? w.befehl_wert2[i] : "1");
     },
     [](frm_mavorin& w) { w.input.count_up(); }, false, false},
    {"Programmpfad öffnen",
     "Welches Programm soll gestartet werden? (Pfadziel des Programmes eingeben)",
     [](frm_mavorin& w) { return pair("pfad", w.txt_6_pfad.text()); },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_6_pfad, &w.txt_6_pfad, &w.cmd_6_pfad};
     },
     [](frm_mavorin& w, int i, bool own) {
         w.txt_6_pfad.set_text(own ? w.befehl_wert1[i] : default_path(w, "Mavorin.exe"));
     },
     [](frm_mavorin& w) { w.system.open_program(); }, false, true},
    {"PC Befehl ausführen", "Welchen PC Befehl ausführen?",
     [](frm_mavorin& w) { return pair("pc", chosen_word(w.opt_7_pc, kPcWords, w.pcbefehl)); },
     [](frm_mavorin& w) { return all_options<kPcWords.size()>(w.opt_7_pc); },
     [](frm_mavorin& w, int i, bool) { w.opt_7_pc.select(option_of(w.befehl_wert1[i], kPcWords)); },
     [](frm_mavorin& w) { w.system.pc_command(); }, false, true},
    {"CD-Laufwerk öffnen/schließen", "Welches CD-Laufwerk öffnen/schließen?",
     [](frm_mavorin& w) {
         return pair("drive", w.com_8_laufwerk.item(w.com_8_laufwerk.list_index())) +
                pair("move", w.com_8_move.list_index() == 1 ? "close" : "open");
     },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_8_laufwerk, &w.com_8_laufwerk, &w.lbl_8_move, &w.com_8_move};
     },
     // Without drives both combos are disabled and stay as they are.
     [](frm_mavorin& w, int i, bool) {
         if (w.kein_laufwerk) return;
         for (int e = 0; e <= 25 && e < w.com_8_laufwerk.list_count(); ++e) {
             const std::string entry = w.com_8_laufwerk.item(e);
             if (!entry.empty() && entry == w.befehl_wert1[i]) w.com_8_laufwerk.set_list_index(e);
         }
         w.com_8_move.set_text(w.befehl_wert2[i] == "close" ? "Einziehen" : "Auswerfen");
     },
     [](frm_mavorin& w) { w.system.cd_drive(); }, false, false},
    {"Screenshot erzeugen", "Screenshot vom Bildschirm erzeugen und speichern? (Pfad angeben)",
     [](frm_mavorin& w) { return pair("pfad", w.txt_9_pfad.text()); },
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_9_pfad, &w.txt_9_pfad, &w.cmd_9_pfad};
     },
     [](frm_mavorin& w, int i, bool own) {
         w.txt_9_pfad.set_text(own ? w.befehl_wert1[i] : default_path(w, "Screenshot.bmp"));
     },
     [](frm_mavorin& w) { w.screen.screenshot(); }, false, false},
    {"Pixel Veränderung",
     "An welcher X/Y Position soll auf Veränderung geprüft werden? (Enter = Aktuelle Pos.)",
     [](frm_mavorin& w) {
         return pair("xpos", number_of(w.txt_10_x)) + pair("ypos", number_of(w.txt_10_y)) +
                pair("break", number_of(w.txt_10_abbruch));
     },
     // The position labels are those of the mouse-position panel.
     [](frm_mavorin& w) -> Controls {
         return {&w.lbl_2_X,      &w.txt_10_x,     &w.lbl_2_Y,        &w.txt_10_y,
                 &w.lbl_2_Xpixel, &w.lbl_2_Ypixel, &w.lbl_10_abbruch, &w.txt_10_abbruch};
     },
     [](frm_mavorin& w, int i, bool own) {
         w.txt_10_x.set_text(own ? stored_number_text(w.befehl_wert1[i]) : "0");
         w.txt_10_y.set_text(own ? stored_number_text(w.befehl_wert2[i]) : "0");
         w.txt_10_abbruch.set_text(own ? stored_number_text(w.befehl_wert3[i]) : "0");
     },
     [](frm_mavorin& w) { w.screen.pixel_watch(); }, true, false},
};

constexpr bool captioned(int code, std::string_view caption) {
    return kRows[code].caption == caption;
}
static_assert(captioned(kSettingsCode, "Grundeinstellungen"));
static_assert(captioned(kMousePositionCode, "Mauszeiger zu X/Y Position gehen"));
static_assert(captioned(kTypingCode, "Tastatur Eingabe"));
static_assert(captioned(kPcCommandCode, "PC Befehl ausführen"));
static_assert(captioned(kCdDriveCode, "CD-Laufwerk öffnen/schließen"));
static_assert(captioned(kPixelWatchCode, "Pixel Veränderung"));
// Records write the code with three digits.
static_assert(std::size(kRows) <= 1000);

}  // namespace

std::span<const CommandRow> command_rows() {
    return kRows;
}

int last_code() {
    return static_cast<int>(std::size(kRows)) - 1;
}

const CommandRow* command_row(double code) {
    // In range, the cast is exact for whole numbers and cheaper than floor.
    if (!(code >= 0 && code <= last_code()) || code != static_cast<int>(code)) return nullptr;
    return &kRows[static_cast<int>(code)];
}

std::string code_text(int code) {
    std::string digits = std::to_string(code);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return digits;
}

}  // namespace mavorin
