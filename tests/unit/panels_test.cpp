// Panel switching, how fields are filled, the code combo's tick, the drive panel, the composer.
#include <iterator>
#include <sstream>
#include <tuple>

#include "app/commands.hpp"
#include "editor_fixture.hpp"

namespace mavorin {
namespace {

using Names = std::vector<std::string>;
using Text = const char*;
using PanelsTest = testing::EditorFixture;

std::set<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), {}};
}

TEST_F(PanelsTest, EveryCodeShowsItsPanelAndItsFieldsWriteTheRecordBackUnchanged) {
    // One record per code (slot 0 for the settings), the controls shown, the fields filled.
    const std::tuple<Text, Text, Text> rows[] = {
        {"code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|",
         "lbl_0_wait txt_0_wait lbl_0_ms lbl_0_loop txt_0_loop lbl_0_mal lbl_0_transparenz "
         "chk_0_transparenz lbl_0_vordergrund chk_0_vordergrund lbl_0_listbox chk_0_listbox "
         "lbl_0_startcode com_0_startcode lbl_0_abbruchcode com_0_abbruchcode",
         ""},
        {"code:|001|wait:|12|maxwait:|31|", "lbl_1_random txt_1_random1 txt_1_random2 lbl_1_ms",
         "txt_1_random1=12;txt_1_random2=31"},
        {"code:|002|xpos:|16|ypos:|7|", "lbl_2_X txt_2_x lbl_2_Y txt_2_y lbl_2_Xpixel lbl_2_Ypixel",
         "txt_2_x=16;txt_2_y=7"},
        {"code:|003|mouseclick:|middle|", "opt_3_click(0) opt_3_click(1) opt_3_click(2)", ""},
        {"code:|004|text:|{ENTER}a b|",
         "lbl_4_eingabebefehl com_4_eingabebefehl lbl_4_eingabetext txt_4_eingabetext",
         "txt_4_eingabetext={ENTER}a b"},
        {"code:|005|start:|7|step:|2|", "lbl_5_start txt_5_start lbl_5_hochzählen txt_5_hochzählen",
         "txt_5_start=7;txt_5_hochzählen=2"},
        {"code:|006|pfad:|C:\\prog.exe|", "lbl_6_pfad txt_6_pfad cmd_6_pfad",
         "txt_6_pfad=C:\\prog.exe"},
        {"code:|007|pc:|input-enable|",
         "opt_7_pc(0) opt_7_pc(1) opt_7_pc(2) opt_7_pc(3) opt_7_pc(4) opt_7_pc(5) opt_7_pc(6)", ""},
        {"code:|008|drive:||move:|close|", "lbl_8_laufwerk com_8_laufwerk lbl_8_move com_8_move",
         ""},
        {"code:|009|pfad:|C:\\a.jpg <80%>|", "lbl_9_pfad txt_9_pfad cmd_9_pfad",
         "txt_9_pfad=C:\\a.jpg <80%>"},
        {"code:|010|xpos:|3|ypos:|4|break:|2|",
         "lbl_2_X txt_10_x lbl_2_Y txt_10_y lbl_2_Xpixel lbl_2_Ypixel lbl_10_abbruch "
         "txt_10_abbruch",
         "txt_10_x=3;txt_10_y=4;txt_10_abbruch=2"},
    };
    ASSERT_EQ(std::size(rows), command_rows().size());
    // No drive was found; the move combo still shows the record, the drive stays empty.
    w->kein_laufwerk = false;
    for (int code = 0; code <= last_code(); ++code) {
        const auto& [record, shown, fields] = rows[code];
        SCOPED_TRACE(record);
        const int slot = code == 0 ? 0 : 2;
        w->befehl[slot] = record;
        w->hsc_befehle.set_value(1);
        for (form::Control* c : w->panels.hide_order()) c->set_visible(true);
        w->hsc_befehle.set_value(slot);
        EXPECT_EQ(w->lbl_info.caption(), command_rows()[code].prompt);
        EXPECT_EQ(visible_panel_controls(), words(shown));
        EXPECT_EQ(w->Timer_XYPos.enabled(), code == 2 || code == 10);
        expect_fields(fields);
        EXPECT_EQ(w->befehl[slot], record);  // filling wrote nothing back
        clock.advance(10);
        if (code > 0) EXPECT_EQ(w->com_code.text(), command_rows()[code].caption);
        w->records.schreibebefehl();  // the fields hold the whole record
        EXPECT_EQ(w->befehl[slot], record);
    }

    // Stored numbers pass through the number reading; over a record of another code every field
    // takes its default, and paths use the current folder.
    show(2, "code:|010|xpos:|16.0|ypos:| 7x|break:|&H1F|");
    expect_fields("txt_10_x=16;txt_10_y=7;txt_10_abbruch=31");
    platform.set_current_folder("C:\\Arbeit");
    platform.separator = "\\";
    for (int code : {1, 2, 4, 5, 6, 9}) panel(code);
    expect_fields(
        "txt_1_random1=0;txt_1_random2=0;txt_2_x=0;txt_2_y=0;txt_4_eingabetext=;txt_5_start=0;"
        "txt_5_hochzählen=1;txt_6_pfad=C:\\Arbeit\\Mavorin.exe;"
        "txt_9_pfad=C:\\Arbeit\\Screenshot.bmp");
    EXPECT_EQ(w->befehl[2], "code:|010|xpos:|16.0|ypos:| 7x|break:|&H1F|");
    // The option panels read their word whatever the record's code; others select option 0.
    for (const auto& [word, click, pc] : {std::tuple{"right", 2, 0}, {"reboot", 0, 1}}) {
        show(1, std::string("code:|006|pfad:|") + word + "|");
        panel(3);
        panel(7);
        EXPECT_EQ(std::pair(w->opt_3_click.selected(), w->opt_7_pc.selected()),
                  std::pair(click, pc));
    }
}

TEST_F(PanelsTest, TheComboTickClearsTheFlagsAndCodesOutOfRangeShowNothing) {
    show(1, "code:|009|pfad:|x.bmp|");
    w->combo_sperre = w->laden = true;  // a caller that left them set has them cleared
    clock.advance(10);
    EXPECT_FALSE(w->combo_sperre || w->laden || w->Timer_combobox.enabled());
    EXPECT_EQ(w->befehl[1], "code:|009|pfad:|x.bmp|");  // the combo's handler was held off
    for (double code : {11.0, -1.0, 2.5}) {
        panel(code);
        EXPECT_TRUE(visible_panel_controls().empty()) << code;
        EXPECT_EQ(w->lbl_info.caption(), command_rows()[9].prompt);
        clock.advance(10);
        EXPECT_EQ(w->com_code.text(), command_rows()[9].caption);
    }
}

TEST_F(PanelsTest, CdDrivesAreListedFilledFromTheRecordAndWritten) {
    EXPECT_FALSE(w->com_8_laufwerk.enabled() || w->com_8_move.enabled());  // none found
    show(1, "code:|008|drive:|D:\\|move:|close|");
    EXPECT_EQ(w->com_8_move.text(), "Auswerfen");  // left alone

    platform.roots = {"C:\\", "D:\\", "F:\\"};
    platform.drive_types = {{"D:\\", 5}, {"F:\\", 5}, {"C:\\", 3}};
    w = std::make_unique<frm_mavorin>(platform, clock);
    start();
    EXPECT_EQ(w->com_8_laufwerk.items(), (Names{"D:\\", "F:\\"}));
    show(1, "code:|008|drive:|F:\\|move:|close|");
    EXPECT_EQ(w->com_8_move.text(), "Einziehen");
    w->combo_sperre = true;  // held off by the combo lock
    w->com_8_move.set_text("Auswerfen");
    w->combo_sperre = false;
    EXPECT_EQ(record(), "code:|008|drive:|F:\\|move:|close|");
    // An unknown drive leaves the selection; anything but "close" ejects.
    show(2, "code:|008|drive:|Z:\\|move:|Close|");
    EXPECT_EQ(w->com_8_laufwerk.text() + w->com_8_move.text(), "F:\\Auswerfen");
    w->com_8_laufwerk.set_text("D:\\");
    EXPECT_EQ(record(), "code:|008|drive:|D:\\|move:|open|");
    // The drive panel refreshes the command list.
    w->befehl[1] = "code:|002|xpos:|1|ypos:|2|";
    panel(8);
    EXPECT_EQ(w->lst_code.items()[1], list_line(1, w->befehl[1]));
}

TEST_F(PanelsTest, EveryComposerEntryAppendsItsTokenAndTheListReturnsToItsPrompt) {
    w->hsc_befehle.set_value(1);
    choose("Tastatur Eingabe");
    w->txt_4_eingabetext.set_text("abc");
    for (const std::string& entry : w->com_4_eingabebefehl.items()) {
        clock.advance(10);
        w->com_4_eingabebefehl.set_text(entry);
        clock.advance(10);
        EXPECT_EQ(w->com_4_eingabebefehl.text(), "Wähle einen Befehl") << entry;
    }
    EXPECT_EQ(
        record(),
        "code:|004|text:|abc{SHIFT}{CTRL}{ALT}{ALTGR}{DEL}{INS}{ESC}{ENTER}{BS}{TAB}{UP}{LEFT}"
        "{RIGHT}{DOWN}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{BREAK}{HOME}{END}{PGUP}{PGDN}{F1}{F2}"
        "{F3}{F4}{F5}{F6}{F7}{F8}{F9}{F10}{F11}{F12}{{}{}}{CODE5}|");
}

}  // namespace
}  // namespace mavorin
