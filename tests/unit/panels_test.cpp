// Panel switching, how fields are filled, the code combo's tick, the drive panel, the composer.
#include <iterator>
#include <sstream>
#include <tuple>

#include "editor_fixture.hpp"

namespace mavorin {
namespace {

using Names = std::vector<std::string>;
using Text = const char*;
using PanelsTest = testing::EditorFixture;

TEST_F(PanelsTest, EachCodeShowsItsControlsAndFillsFieldsOnlyFromItsOwnRecords) {
    // Record (nullptr: the settings record in slot 0), prompt, controls shown, fields filled.
    const std::tuple<Text, Text, Text, Text> rows[] = {
        {nullptr, "Welche Grundeinstellungen?",
         "lbl_0_wait txt_0_wait lbl_0_ms lbl_0_loop txt_0_loop lbl_0_mal lbl_0_transparenz "
         "chk_0_transparenz lbl_0_vordergrund chk_0_vordergrund lbl_0_listbox chk_0_listbox "
         "lbl_0_startcode com_0_startcode lbl_0_abbruchcode com_0_abbruchcode",
         ""},
        {"code:|001|wait:|12abc|maxwait:|&H1F|", "Welche Zufallszeit soll gewartet werden?",
         "lbl_1_random txt_1_random1 txt_1_random2 lbl_1_ms", "txt_1_random1=12;txt_1_random2=31"},
        {"code:|002|xpos:|16.0|ypos:| 7|",
         "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)",
         "lbl_2_X txt_2_x lbl_2_Y txt_2_y lbl_2_Xpixel lbl_2_Ypixel", "txt_2_x=16;txt_2_y=7"},
        {"code:|003|mouseclick:|left|", "Mit welcher Taste klicken?",
         "opt_3_click(0) opt_3_click(1) opt_3_click(2)", ""},
        {"code:|004|text:|{ENTER}a b|", "Welche Befehle und Buchstaben sollen ausgegeben werden?",
         "lbl_4_eingabebefehl com_4_eingabebefehl lbl_4_eingabetext txt_4_eingabetext",
         "txt_4_eingabetext={ENTER}a b"},
        {"code:|005|start:|007|step:|2x|",
         "Welche Zahl soll hochgezählt werden? Wird kopiert in den Zwischenspeicher und in "
         "{CODE5}.",
         "lbl_5_start txt_5_start lbl_5_hochzählen txt_5_hochzählen",
         "txt_5_start=007;txt_5_hochzählen=2x"},
        {"code:|006|pfad:|C:\\prog.exe|",
         "Welches Programm soll gestartet werden? (Pfadziel des Programmes eingeben)",
         "lbl_6_pfad txt_6_pfad cmd_6_pfad", "txt_6_pfad=C:\\prog.exe"},
        {"code:|007|pc:|end|", "Welchen PC Befehl ausführen?",
         "opt_7_pc(0) opt_7_pc(1) opt_7_pc(2) opt_7_pc(3) opt_7_pc(4) opt_7_pc(5) opt_7_pc(6)", ""},
        {"code:|008|drive:||move:|open|", "Welches CD-Laufwerk öffnen/schließen?",
         "lbl_8_laufwerk com_8_laufwerk lbl_8_move com_8_move", ""},
        {"code:|009|pfad:|C:\\a.jpg <80%>|",
         "Screenshot vom Bildschirm erzeugen und speichern? (Pfad angeben)",
         "lbl_9_pfad txt_9_pfad cmd_9_pfad", "txt_9_pfad=C:\\a.jpg <80%>"},
        {"code:|010|xpos:|3|ypos:|4.0|break:|-2|",
         "An welcher X/Y Position soll auf Veränderung geprüft werden? (Enter = Aktuelle Pos.)",
         "lbl_2_X txt_10_x lbl_2_Y txt_10_y lbl_2_Xpixel lbl_2_Ypixel lbl_10_abbruch "
         "txt_10_abbruch",
         "txt_10_x=3;txt_10_y=4;txt_10_abbruch=-2"},
    };
    for (const auto& [record, prompt, shown, fields] : rows) {
        SCOPED_TRACE(prompt);
        const int slot = record ? 2 : 0;
        if (record) w->befehl[2] = record;
        const std::string stored = w->befehl[slot];
        w->hsc_befehle.set_value(1);
        for (form::Control* c : w->panels.hide_order()) c->set_visible(true);
        w->hsc_befehle.set_value(slot);
        EXPECT_EQ(w->lbl_info.caption(), prompt);
        std::istringstream in(shown);
        EXPECT_EQ(visible_panel_controls(),
                  std::set<std::string>(std::istream_iterator<std::string>(in), {}));
        expect_fields(fields);
        EXPECT_EQ(w->befehl[slot], stored);  // filling wrote nothing back
    }

    // Over a record of another code every field takes its default; paths use the current folder.
    show(2, "code:|002|xpos:|5|ypos:|6|");
    panel(5);
    expect_fields("txt_5_start=0;txt_5_hochzählen=1");
    show(1, "code:|005|start:|5|step:|6|");
    panel(6);
    EXPECT_EQ(w->txt_6_pfad.text(), dir.path() + "/Mavorin.exe");
    platform.set_current_folder("C:\\Arbeit");
    platform.separator = "\\";
    for (int code : {1, 2, 4, 6, 9, 10}) panel(code);
    expect_fields(
        "txt_1_random1=0;txt_1_random2=0;txt_2_x=0;txt_2_y=0;txt_4_eingabetext=;"
        "txt_6_pfad=C:\\Arbeit\\Mavorin.exe;txt_9_pfad=C:\\Arbeit\\Screenshot.bmp;"
        "txt_10_x=0;txt_10_y=0;txt_10_abbruch=0");
    EXPECT_EQ(w->befehl[1], "code:|005|start:|5|step:|6|");
}

TEST_F(PanelsTest, OptionPanelsReadTheirWordWhateverTheRecordsCode) {
    const std::tuple<int, Text, int> rows[] = {
        {3, "middle", 1},       {3, "right", 2},     {3, "left", 0},   {3, "right", 2},
        {3, "Right", 0},        {3, "middle", 1},    {3, "", 0},       {7, "reboot", 1},
        {7, "shutdown", 2},     {7, "screenoff", 3}, {7, "end", 4},    {7, "input-disable", 5},
        {7, "input-enable", 6}, {7, "REBOOT", 0},    {7, "reboot", 1}, {7, "lockpc", 0}};
    for (const auto& [code, word, option] : rows) {
        show(1, std::string("code:|006|pfad:|") + word + "|");
        panel(code);
        EXPECT_EQ((code == 3 ? w->opt_3_click : w->opt_7_pc).selected(), option) << word;
    }
}

TEST_F(PanelsTest, TheComboTickAlignsTheCodeComboAndClearsTheFlags) {
    show(1, "code:|009|pfad:|x.bmp|");
    w->combo_sperre = true;
    w->laden = true;  // a caller that left the flag set has it cleared by the tick
    clock.advance(10);
    EXPECT_EQ(w->com_code.text(), "Screenshot erzeugen");
    EXPECT_FALSE(w->combo_sperre);
    EXPECT_FALSE(w->laden);
    EXPECT_FALSE(w->Timer_combobox.enabled());
    EXPECT_EQ(w->befehl[1], "code:|009|pfad:|x.bmp|");  // the combo's handler was held off

    // Codes out of range hide every control, keep the prompt and leave the combo alone.
    for (double code : {11.0, -1.0, 2.5}) {
        SCOPED_TRACE(code);
        panel(code);
        EXPECT_TRUE(visible_panel_controls().empty());
        EXPECT_EQ(w->lbl_info.caption(),
                  "Screenshot vom Bildschirm erzeugen und speichern? (Pfad angeben)");
        EXPECT_TRUE(w->Timer_combobox.enabled());
        clock.advance(10);
        EXPECT_EQ(w->com_code.text(), "Screenshot erzeugen");
    }
}

TEST_F(PanelsTest, WithoutCdDrivesTheDriveCombosAreDisabledAndLeftAlone) {
    ASSERT_TRUE(w->kein_laufwerk);
    EXPECT_FALSE(w->com_8_laufwerk.enabled());
    EXPECT_FALSE(w->com_8_move.enabled());
    EXPECT_EQ(w->com_8_laufwerk.list_count(), 0);
    show(1, "code:|008|drive:|D:\\|move:|close|");
    EXPECT_EQ(w->com_8_move.text(), "Auswerfen");
    EXPECT_EQ(w->com_8_laufwerk.list_index(), -1);
}

class DrivesTest : public testing::EditorFixture {
  protected:
    void SetUp() override {
        platform.roots = {"C:\\", "D:\\", "E:\\", "F:\\"};
        platform.drive_types = {{"D:\\", 5}, {"F:\\", 5}, {"C:\\", 3}};
        start();
    }
};

TEST_F(DrivesTest, CdDrivesAreListedOnceFilledFromTheRecordAndWritten) {
    const Names drives = {"D:\\", "F:\\"};
    EXPECT_EQ(w->com_8_laufwerk.items(), drives);
    EXPECT_EQ(w->com_8_laufwerk.text(), "D:\\");
    w->cmd_neu.click();
    EXPECT_EQ(w->com_8_laufwerk.items(), drives);

    w->hsc_befehle.set_value(1);
    choose("CD-Laufwerk öffnen/schließen");
    w->com_8_laufwerk.set_text("F:\\");
    EXPECT_EQ(record(), "code:|008|drive:|F:\\|move:|open|");
    // Held off by the combo lock, by loading and during a run.
    w->combo_sperre = true;
    w->com_8_move.set_text("Einziehen");
    w->combo_sperre = false;
    w->laden = true;
    w->com_8_laufwerk.set_text("D:\\");
    w->laden = false;
    w->Timer_startloop.set_enabled(true);
    w->com_8_move.set_text("Auswerfen");
    w->Timer_startloop.set_enabled(false);
    EXPECT_EQ(record(), "code:|008|drive:|F:\\|move:|open|");
    w->com_8_move.set_text("Einziehen");
    EXPECT_EQ(record(), "code:|008|drive:|D:\\|move:|close|");

    show(2, "code:|008|drive:|F:\\|move:|close|");
    EXPECT_EQ(w->com_8_laufwerk.text(), "F:\\");
    EXPECT_EQ(w->com_8_move.text(), "Einziehen");
    EXPECT_EQ(w->befehl[2], "code:|008|drive:|F:\\|move:|close|");
    // An unknown drive leaves the selection; anything but "close" ejects.
    show(1, "code:|008|drive:|Z:\\|move:|Close|");  // shown after slot 2
    EXPECT_EQ(w->com_8_laufwerk.text(), "F:\\");
    EXPECT_EQ(w->com_8_move.text(), "Auswerfen");
    EXPECT_EQ(w->befehl[1], "code:|008|drive:|Z:\\|move:|Close|");

    // The drive panel refreshes the command list.
    w->befehl[1] = "code:|002|xpos:|1|ypos:|2|";
    panel(8);
    EXPECT_NE(w->lst_code.items()[1].find("xpos: 1"), std::string::npos) << w->lst_code.items()[1];
}

class ComposerTest : public testing::EditorFixture {
  protected:
    void SetUp() override {
        EditorFixture::SetUp();
        w->hsc_befehle.set_value(1);
        choose("Tastatur Eingabe");
        clock.advance(20);
    }
};

TEST_F(ComposerTest, EveryEntryAppendsItsTokenAndTheListReturnsToItsPromptOneTickLater) {
    Names entries;
    std::istringstream names(
        "Shift;Strg;Alt;Alt Gr;Entf;Einfg;ESC;Eingabetaste;Rücktaste;TAB;Pfeil oben;Pfeil links;"
        "Pfeil rechts;Pfeil unten;Feststelltaste Shift;Feststelltaste Nummernblock;"
        "Feststelltaste Rollen;Pause;Pos1;Ende;Bild up;Bild down;F1;F2;F3;F4;F5;F6;F7;F8;F9;F10;"
        "F11;F12;{;};CODE5");
    for (std::string e; std::getline(names, e, ';');) entries.push_back(e);
    entries.insert(entries.begin(), "Wähle einen Befehl");
    EXPECT_EQ(w->com_4_eingabebefehl.items(), entries);

    w->txt_4_eingabetext.set_text("abc");
    w->com_4_eingabebefehl.set_text("Eingabetaste");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "abc{ENTER}");
    EXPECT_EQ(w->com_4_eingabebefehl.list_index(), 8);
    clock.advance(10);
    EXPECT_EQ(w->com_4_eingabebefehl.text(), "Wähle einen Befehl");
    EXPECT_FALSE(w->Timer_combobox.enabled());

    w->txt_4_eingabetext.set_text("");
    for (std::size_t i = 1; i < entries.size(); ++i) {
        w->com_4_eingabebefehl.set_text(entries[i]);
        clock.advance(10);
    }
    EXPECT_EQ(w->txt_4_eingabetext.text(),
              "{SHIFT}{CTRL}{ALT}{ALTGR}{DEL}{INS}{ESC}{ENTER}{BS}{TAB}{UP}{LEFT}{RIGHT}{DOWN}"
              "{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{BREAK}{HOME}{END}{PGUP}{PGDN}{F1}{F2}{F3}{F4}{F5}"
              "{F6}{F7}{F8}{F9}{F10}{F11}{F12}{{}{}}{CODE5}");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|" + w->txt_4_eingabetext.text() + "|");
}

TEST_F(ComposerTest, ThePromptInsertsNothingAndAChoiceWhileLoadingIsNotWritten) {
    w->com_4_eingabebefehl.set_text("Pfeil oben");
    w->txt_4_eingabetext.set_text("abc");
    w->com_4_eingabebefehl.set_text("Wähle einen Befehl");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "abc");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|abc|");

    w->laden = true;
    w->com_4_eingabebefehl.set_text("TAB");
    w->laden = false;
    EXPECT_EQ(w->txt_4_eingabetext.text(), "abc{TAB}");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|abc|");
    EXPECT_TRUE(w->Timer_combobox.enabled());
}

}  // namespace
}  // namespace mavorin
