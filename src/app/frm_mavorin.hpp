// The main window: its controls, the shared state of a macro, and the subsystems that act on them.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/appearance.hpp"
#include "app/commands.hpp"
#include "app/document_state.hpp"
#include "app/startup.hpp"
#include "commandlist/command_list.hpp"
#include "commandlist/list_editing.hpp"
#include "document/macro_file.hpp"
#include "document/records.hpp"
#include "document/trust.hpp"
#include "editor/composer.hpp"
#include "editor/fields.hpp"
#include "editor/panels.hpp"
#include "engine/input_actions.hpp"
#include "engine/launch_gate.hpp"
#include "engine/run_control.hpp"
#include "engine/scheduler.hpp"
#include "engine/screen_actions.hpp"
#include "engine/system_actions.hpp"
#include "form/controls.hpp"
#include "form/event_loop.hpp"
#include "platform/desktop_platform.hpp"
#include "platform/input_recorder.hpp"
#include "record/list_recording.hpp"

namespace mavorin {

using form::Button;
using form::CheckBox;
using form::ComboBox;
using form::Image;
using form::Label;
using form::ListBox;
using form::MenuItem;
using form::OptionGroup;
using form::PopupMenu;
using form::ScrollBar;
using form::TextBox;
using form::Timer;

inline constexpr int kSlots = 32002;  // slots 0..32001
inline constexpr const char* kDefaultRecord = "code:|001|wait:|0|";

class frm_mavorin {
  public:
    frm_mavorin(DesktopPlatform& platform, form::EventLoop& loop);
    frm_mavorin(const frm_mavorin&) = delete;
    frm_mavorin& operator=(const frm_mavorin&) = delete;

    DesktopPlatform& platform;
    form::EventLoop& loop;

    // The form itself.
    form::Form form{"frm_mavorin"};

    // Title and maker area (read by no procedure).
    Label lbl_title{"lbl_title", "Mavorin"};
    Label lbl_titleversion{"lbl_titleversion", "Makros für den Desktop, Version " MAVORIN_VERSION};
    Image img_mavorin{"img_mavorin", 0};
    Image Image1{"Image1"}, Image2{"Image2"}, img_box{"img_box"};
    form::Form frame_vantrel{"frame_vantrel"};
    Label lbl_Programm{"lbl_Programm", "Mavorin " MAVORIN_VERSION};
    Label lbl_Version{"lbl_Version", "Freie Software"};
    Image img_Orvik_Logo{"img_Orvik_Logo"};
    Image img_vantrellogo{"img_vantrellogo"};
    std::array<Label*, 4> maker_labels() {
        return {&lbl_maker1, &lbl_maker2, &lbl_maker3, &lbl_maker4};
    }
    Label lbl_maker1{"lbl_maker1", "mavorin.org"}, lbl_maker2{"lbl_maker2", "Mavorin-Projekt"},
        lbl_maker3{"lbl_maker3", "Dezember 2026"}, lbl_maker4{"lbl_maker4", ""};

    // Command choice and prompt.
    Label lbl_befehl{"lbl_befehl", "Wähle Befehl:"};
    ComboBox com_code{"com_code"};
    ComboBox com_code0{"com_code0"};
    Label lbl_info{"lbl_info", "Welche Grundeinstellungen?"};

    // Panel 000.
    Label lbl_0_wait{"lbl_0_wait", "Wartezeit nach jedem Befehl:"};
    TextBox txt_0_wait{"txt_0_wait", "500"};
    Label lbl_0_ms{"lbl_0_ms", "ms"};
    Label lbl_0_loop{"lbl_0_loop", "Wiederholen nach letztem Befehl:"};
    TextBox txt_0_loop{"txt_0_loop", "1"};
    Label lbl_0_mal{"lbl_0_mal", "mal"};
    Label lbl_0_transparenz{"lbl_0_transparenz", "Transparenz einschalten:"};
    CheckBox chk_0_transparenz{"chk_0_transparenz", 0};
    Label lbl_0_vordergrund{"lbl_0_vordergrund", "Im Vordergrund anzeigen:"};
    CheckBox chk_0_vordergrund{"chk_0_vordergrund", 0};
    Label lbl_0_listbox{"lbl_0_listbox", "Code in Box anzeigen:"};
    CheckBox chk_0_listbox{"chk_0_listbox", 1};
    Label lbl_0_startcode{"lbl_0_startcode", "Funktion: Starten"};
    ComboBox com_0_startcode{"com_0_startcode"};
    Label lbl_0_abbruchcode{"lbl_0_abbruchcode", "Funktion: Abbruch"};
    ComboBox com_0_abbruchcode{"com_0_abbruchcode"};

    // Panel 001.
    Label lbl_1_random{"lbl_1_random", "Zufallszeit (von - bis)"};
    TextBox txt_1_random1{"txt_1_random1", "0"};
    TextBox txt_1_random2{"txt_1_random2", "0"};
    Label lbl_1_ms{"lbl_1_ms", "ms"};

    // Panels 002 and 010 (the labels are shared).
    Label lbl_2_X{"lbl_2_X", "X-Position:"};
    TextBox txt_2_x{"txt_2_x", "0"};
    Label lbl_2_Y{"lbl_2_Y", "Y-Position:"};
    TextBox txt_2_y{"txt_2_y", "0"};
    Label lbl_2_Xpixel{"lbl_2_Xpixel", "0"};
    Label lbl_2_Ypixel{"lbl_2_Ypixel", "0"};

    // Panel 003.
    OptionGroup opt_3_click{"opt_3_click",
                            {"Linker Mausklick", "Mittlerer Mausklick", "Rechter Mausklick"}};

    // Panel 004.
    Label lbl_4_eingabebefehl{"lbl_4_eingabebefehl", "Spezial Eingaben:"};
    ComboBox com_4_eingabebefehl{"com_4_eingabebefehl"};
    Label lbl_4_eingabetext{"lbl_4_eingabetext", "Tastatur Eingaben (a-Z, 0-9):"};
    TextBox txt_4_eingabetext{"txt_4_eingabetext", ""};

    // Panel 005.
    Label lbl_5_start{"lbl_5_start", "Beginn hochzählen:"};
    TextBox txt_5_start{"txt_5_start", "0"};
    Label lbl_5_hochzählen{"lbl_5_hochzählen", "+ Zahl die hochgezählt wird:"};
    TextBox txt_5_hochzählen{"txt_5_hochzählen", "1"};

    // Panel 006.
    Label lbl_6_pfad{"lbl_6_pfad", "Programmpfad eingeben:"};
    TextBox txt_6_pfad{"txt_6_pfad", ""};
    Button cmd_6_pfad{"cmd_6_pfad", "Programmpfad suchen"};

    // Panel 007.
    OptionGroup opt_7_pc{"opt_7_pc",
                         {"Computer sperren", "Computer neustarten", "Computer herunterfahren",
                          "Monitor ausschalten", "Programm schließen", "Maus/Tastatur sperren",
                          "Maus/Tastatur entsperren"}};

    // Panel 008.
    Label lbl_8_laufwerk{"lbl_8_laufwerk", "Wähle ein CD-Laufwerksbuchstaben:"};
    ComboBox com_8_laufwerk{"com_8_laufwerk"};
    Label lbl_8_move{"lbl_8_move", "Laufwerk öffnen oder schließen?"};
    ComboBox com_8_move{"com_8_move", {"Auswerfen", "Einziehen"}};

    // Panel 009.
    Label lbl_9_pfad{"lbl_9_pfad", "Speichername eingeben:"};
    TextBox txt_9_pfad{"txt_9_pfad", ""};
    Button cmd_9_pfad{"cmd_9_pfad", "Speicherort suchen"};

    // Panel 010.
    TextBox txt_10_x{"txt_10_x", "0"};
    TextBox txt_10_y{"txt_10_y", "0"};
    Label lbl_10_abbruch{"lbl_10_abbruch",
                         "Abbruchbedingung nach:" + std::string(38, ' ') + "sek. (0 = nie)"};
    TextBox txt_10_abbruch{"txt_10_abbruch", "0"};

    // The command list and navigation.
    Label lbl_anz_befehle{"lbl_anz_befehle", "Anzahl Befehle:"};
    TextBox txt_befehle{"txt_befehle", "3"};
    Image img_befehl_left{"img_befehl_left"};
    Image img_befehl_right{"img_befehl_right"};
    ScrollBar hsc_befehle{"hsc_befehle", 0, 3};
    Label lbl_hscmax{"lbl_hscmax", "3"};
    Label lbl_hscaktuell{"lbl_hscaktuell", "0"};
    ListBox lst_code{"lst_code"};

    // Buttons.
    Button cmd_start{"cmd_start", "Start"};
    Button cmd_neu{"cmd_neu", "Neu"};
    Button cmd_load{"cmd_load", "Laden"};
    Button cmd_load2{"cmd_load2", ">"};
    Button cmd_save{"cmd_save", "Speichern"};
    Button cmd_save2{"cmd_save2", ">"};

    // The list's popup menu.
    MenuItem mnunewcommand{"mnunewcommand", "Neuer Befehl"};
    MenuItem mnucut{"mnucut", "Ausschneiiden"};
    MenuItem mnucopy{"mnucopy", "Kopieren"};
    MenuItem mnupaste{"mnupaste", "Einfügen"};
    MenuItem mnudelete{"mnudelete", "Löschen"};
    MenuItem mnuall{"mnuall", "Alles makieren"};
    MenuItem mnudisplay{"mnudisplay", "Mehr anzeigen"};
    MenuItem mnurecord{"mnurecord", "Aufnahme einfügen"};
    PopupMenu mnulistboxcode{"mnulistboxcode",
                             {&mnunewcommand, &mnucut, &mnucopy, &mnupaste, &mnudelete, &mnuall,
                              &mnudisplay, &mnurecord}};

    // Timers.
    Timer Timer_befehlstart{loop, "Timer_befehlstart", 10, true};
    Timer Timer_befehlstop{loop, "Timer_befehlstop", 10, false};
    Timer Timer_startloop{loop, "Timer_startloop", 10, false};
    Timer Timer_start{loop, "Timer_start", 500, false};
    Timer Timer_XYPos{loop, "Timer_XYPos", 10, false};
    Timer Timer_combobox{loop, "Timer_combobox", 10, false};
    Timer Timer_transparenz{loop, "Timer_transparenz", 10, false};
    Timer Timer_aufnahme{loop, "Timer_aufnahme", 10, false};

    // Hidden pictures of the screenshot and the pixel watch.
    Bitmap pic_screenshot, pic_pixel;

    // --- shared state ---
    std::vector<std::string> befehl, befehl_code, befehl_wert1, befehl_wert2, befehl_wert3,
        befehl_wert4, befehl_kopie;
    int befehl_anzahl = 3;
    int befehl_aktuell = 0;
    double code_aktuell = 0;
    int code_anzahl = last_code();
    int befehle_max = 32000;
    int liste_max = 999;
    int liste_anzahl = 3;
    int kopie_anzahl = 0;
    std::string mausklick = "left";
    std::string pcbefehl = "lockpc";
    std::string startname = "no", abbruchname = "ESC";
    std::string startcode = "&H7C", abbruchcode = "&H1B";
    bool laden = false;
    bool combo_sperre = false;
    std::string dateipfad = "mavorin.mvn";
    std::string kopfzeile, dateikennung;
    double twips_x = 15, twips_y = 15;
    int transparent_aktiv = 0;  // -1 while faded
    Point mauspos;
    // Run state.
    double wartezeit = 500, wiederholungen = 1, durchlauf = 0;
    int pixel_status = 0;
    double pixel_takte = 0, pixel_sekunden = 0;
    std::string pixel_referenz, pixel_vergleich;
    double zahl = 0, zahl_naechste = 0;
    bool zahl_neu = false;
    // Before the first run the next value holds nothing yet; a counter run singly then shows "".
    bool next_number_blank = true, number_blank = false;
    bool kein_laufwerk = false;
    // Set once "end" was carried out on a platform that returned from end_program().
    bool end_carried_out = false;
    // --list and --dry-run launch nothing: no question is asked there, and a notice goes to
    // `on_notice` instead of a box.
    bool headless = false;
    std::function<void(const std::string&)> on_notice;
    // Why macros cannot run here (the window reaches no desktop); empty where they can.
    std::string no_desktop;
    // Recording into the list: the desktop's recorder (none: not possible here), and how the
    // view gets out of the way and back.
    RecorderFactory recorder_factory;
    std::function<void(bool minimised)> on_minimize;

    // --- subsystems ---
    Records records{*this};
    Trust trust{*this};
    MacroFile macro_file{*this};
    CommandList command_list{*this};
    ListEditing list_editing{*this};
    Panels panels{*this};
    Fields fields{*this};
    Composer composer{*this};
    Startup startup{*this};
    Appearance appearance{*this};
    RunControl run{*this};
    LaunchGate gate{*this};
    Scheduler scheduler{*this};
    InputActions input{*this};
    SystemActions system{*this};
    ScreenActions screen{*this};
    // The title and the questions around the file handlers.
    DocumentState document{*this};
    ListRecording list_recording{*this};

    // The window's boxes: no timer of the window fires while one is open, however the toolkit
    // runs its own event loop meanwhile.
    int message_box(const std::string& text, int style);
    int ask(const Question& question);
    // Something the user must know, with one "OK" button.
    void notice(const std::string& text);
    // False, after telling why, when macros cannot run here.
    bool desktop_reachable();

    // A run is active while the driver timer is enabled.
    bool running() const { return Timer_startloop.enabled(); }
    // Every control, for the view to bind by name.
    std::vector<form::Control*> all_controls();
    // Stops every timer for good (after "end" on a platform that does not exit).
    void halt();

  private:
    void wire();  // connects every handler to its control, in one place
};

}  // namespace mavorin
