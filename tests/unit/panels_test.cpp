// The editor: panel switching, how fields are filled, the code combo's tick, the drive panel, the
// composer; field handlers: guards, corrections, write-back, the pair rule, hot keys, capture,
// browsing.
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>

#include "app/commands.hpp"
#include "fixture.hpp"

namespace mavorin {
namespace {

using Names = std::vector<std::string>;
using Text = const char*;

// A started window with helpers to put a record under the editor the way the program does.
class EditorTest : public testing::WindowTest {
  protected:
    void SetUp() override { start(); }

    // Stores the record in slot i and navigates there, as the scroll bar does (laden is set
    // while the panel is filled, so nothing is written back).
    void show(int i, const std::string& record) {
        w->befehl[i] = record;
        w->hsc_befehle.set_value(i == 1 ? 2 : 1);
        w->hsc_befehle.set_value(i);
    }
    // Shows the panel of `code` over whatever record is current, without writing it back.
    void panel(double code) {
        w->laden = true;
        w->code_aktuell = code;
        w->panels.codesichtbar();
        w->laden = false;
    }
    // Chooses a command type in the code combo, as the user does once the combo has settled.
    void choose(const std::string& code_name) {
        clock.advance(20);
        w->com_code.set_text(code_name);
    }
    const std::string& record() const { return w->befehl[w->befehl_aktuell]; }

    // The panel text box called `name`.
    TextBox& field(const std::string& name) {
        for (form::Control* c : w->panels.hide_order())
            if (c->name() == name) return dynamic_cast<TextBox&>(*c);
        throw std::invalid_argument("no field " + name);
    }
    // Checks panel fields against "name=text;name=text".
    void expect_fields(const std::string& spec) {
        std::istringstream in(spec);
        for (std::string item, name; std::getline(std::getline(in, name, '='), item, ';');)
            EXPECT_EQ(field(name).text(), item) << name;
    }
    std::set<std::string> visible_panel_controls() {
        std::set<std::string> v;
        for (form::Control* c : w->panels.hide_order())
            if (c->visible()) v.insert(c->name());
        return v;
    }
};

using PanelsTest = EditorTest;

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
        std::istringstream names(shown);
        EXPECT_EQ(visible_panel_controls(),
                  std::set<std::string>(std::istream_iterator<std::string>(names), {}));
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

class FieldsTest : public EditorTest {
  protected:
    void run_active(bool on) { w->Timer_startloop.set_enabled(on); }
    // A fresh window on slot 1 with the panel of `code_name` chosen ("": the settings record).
    void fresh(const std::string& code_name) {
        w = std::make_unique<frm_mavorin>(platform, clock);
        start();
        if (code_name.empty()) return;
        w->hsc_befehle.set_value(1);
        choose(code_name);
    }
    // Types into a text field or picks an option ("opt_3_click" and "opt_7_pc" take an index).
    void edit(const std::string& name, const std::string& value) {
        if (name == "opt_3_click") return w->opt_3_click.select(std::stoi(value));
        if (name == "opt_7_pc") return w->opt_7_pc.select(std::stoi(value));
        field(name).set_text(value);
    }
};

TEST_F(FieldsTest, EveryFieldCorrectsAndWritesItsRecordUnlessLoadingOrRunning) {
    // Field, typed text, text after the handler's correction (nullptr: options), record.
    const std::tuple<Text, Text, Text, Text> rows[] = {
        {"txt_0_wait", "60001", "60000", "code:|000|wait:|60000|loop:|1|start:|no|stop:|ESC|"},
        {"txt_1_random1", "-3", "0", "code:|001|wait:|0|"},
        {"txt_1_random2", "70000", "60000", "code:|001|wait:|0|maxwait:|60000|"},
        {"txt_2_y", "9x", "9x", "code:|002|xpos:|0|ypos:|9|"},
        {"opt_3_click", "2", nullptr, "code:|003|mouseclick:|right|"},
        // Bars are removed from every text field.
        {"txt_4_eingabetext", "x||y|", "xy", "code:|004|text:|xy|"},
        {"txt_5_hochzählen", "3", "3", "code:|005|start:|0|step:|3|"},
        {"txt_6_pfad", "C:\\a|b.exe", "C:\\ab.exe", "code:|006|pfad:|C:\\ab.exe|"},
        {"opt_7_pc", "3", nullptr, "code:|007|pc:|screenoff|"},
        {"txt_9_pfad", "|s|.bmp", "s.bmp", "code:|009|pfad:|s.bmp|"},
        {"txt_10_abbruch", "-0.5", "0", "code:|010|xpos:|0|ypos:|0|break:|0|"},
    };
    for (const auto& [name, typed, shown, written] : rows) {
        SCOPED_TRACE(std::string(name) + " <- " + typed);
        const int code = std::stoi(std::string(written).substr(6, 3));
        const std::string panel = code ? command_rows()[code].caption : "";
        fresh(panel);
        const std::string before = record();
        w->laden = true;
        edit(name, typed);
        w->laden = false;
        EXPECT_EQ(record(), before) << "written while loading";
        fresh(panel);
        run_active(true);
        edit(name, typed);
        run_active(false);
        EXPECT_EQ(record(), before) << "written during a run";

        fresh(panel);
        edit(name, typed);
        if (shown) EXPECT_EQ(field(name).text(), shown);
        EXPECT_EQ(record(), written);
        EXPECT_EQ(wert_aus_text(w->befehl_code[w->befehl_aktuell]), code);
    }
}

TEST_F(FieldsTest, LeavingTheSettingsFieldsRaisesTooSmallValues) {
    w->hsc_befehle.set_value(0);
    const std::tuple<Text, Text, Text> rows[] = {
        {"txt_0_loop", "0.5", "0"}, {"txt_0_loop", "3", "3"}, {"txt_0_wait", "7", "10"}};
    for (const auto& [name, typed, left] : rows) {
        field(name).set_text(typed);
        field(name).lose_focus();
        EXPECT_EQ(field(name).text(), left) << name << " <- " << typed;
    }
    EXPECT_EQ(record(), "code:|000|wait:|10|loop:|3|start:|no|stop:|ESC|");
    w->hsc_befehle.set_value(1);  // with another command current the rules do nothing
    w->txt_0_wait.set_text("3");
    w->txt_0_wait.lose_focus();
    EXPECT_EQ(w->txt_0_wait.text(), "3");
}

TEST_F(FieldsTest, PairRuleOfTheRandomWaitDragsTheOtherBoundEvenDuringARun) {
    fresh("Zufall Wartezeit");
    w->txt_1_random1.set_text("300");  // drags "to" up
    // Typing "50" over "to" passes through "5", which drags "from" down.
    w->txt_1_random2.set_text("5");
    w->txt_1_random2.set_text("50");
    EXPECT_EQ(record(), "code:|001|wait:|5|maxwait:|50|");
    run_active(true);
    w->txt_1_random1.set_text("500");
    run_active(false);
    EXPECT_EQ(w->txt_1_random2.text(), "500");
    EXPECT_EQ(record(), "code:|001|wait:|5|maxwait:|50|");
}

TEST_F(FieldsTest, HotKeyChoicesAreTakenWhileLoadingButNotDuringARun) {
    w->hsc_befehle.set_value(0);
    w->laden = true;  // loading does not hold a choice off
    w->com_0_startcode.set_text("F5");
    w->laden = false;
    EXPECT_EQ(record(), "code:|000|wait:|500|loop:|1|start:|F5|stop:|ESC|");
    run_active(true);  // a run does
    w->com_0_abbruchcode.set_text("F2");
    run_active(false);
    EXPECT_EQ(w->abbruchcode, "&H1B");
}

TEST_F(FieldsTest, CursorReadOutAndEnterCaptureOnThePressEdgeOnly) {
    fresh("Mauszeiger zu X/Y Position gehen");
    platform.cursor = {1024, 77};
    platform.key_states[13] = {kKeyHeld, kKeyTapped, kKeyHeld, kKeyHeld, kKeyUp, kKeyTapped};
    clock.advance(10);
    EXPECT_EQ(w->lbl_2_Xpixel.caption() + w->lbl_2_Ypixel.caption(), "X: 1024 PixelY: 77 Pixel");
    EXPECT_EQ(w->txt_2_x.text(), "0");  // held, not pressed since the last poll
    clock.advance(10);
    EXPECT_EQ(record(), "code:|002|xpos:|1024|ypos:|77|");
    platform.cursor = {5, 6};
    clock.advance(40);  // still held: no second capture until the next press
    EXPECT_EQ(record(), "code:|002|xpos:|5|ypos:|6|");

    choose("Pixel Veränderung");
    platform.cursor = {-20, 1079};
    platform.key_states[13] = {kKeyTappedAndLetGo, kKeyHeld, kKeyUp,
                               kKeyTapped};  // nothing else captures
    clock.advance(30);
    EXPECT_EQ(w->txt_10_x.text(), "0");
    clock.advance(10);
    EXPECT_EQ(record(), "code:|010|xpos:|-20|ypos:|1079|break:|0|");

    // Running on another panel's code the read-out captures nothing.
    choose("Zufall Wartezeit");
    w->Timer_XYPos.set_enabled(true);
    platform.key_states[13] = {kKeyTapped};
    clock.advance(10);
    EXPECT_EQ(record(), "code:|001|wait:|0|");
}

TEST_F(FieldsTest, BrowsingSetsMarkerAndExtensionAsideAndRestoresThem) {
    fresh("Screenshot erzeugen");
    const std::string filter = "BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg ";
    // Path in the field, preset given to the dialog, its answer ("": cancelled), the result.
    const std::tuple<Text, Text, Text, Text> rows[] = {
        {"C:\\shots\\a.jpg <90%>", "C:\\shots\\a", "C:\\shots\\b", "C:\\shots\\b.jpg <90%>"},
        {"C:\\a.jpg <90%>", "C:\\a", "", "C:\\a.jpg <90%>"},
        {".jpg", "", "q", "q.jpg <90%>"},              // all of it is the extension
        {"<5%>", "", "z", "z"},                        // nothing is left before the marker
        {"ab <5%>", "ab", "z", "z"},                   // the blank before "<" goes with it
        {"C:\\b.JPG", "C:\\b", "C:\\c", "C:\\c.JPG"},  // no marker: the test is exact
        // Positions count characters, not bytes.
        {"D:\\bildö<90%>", "D:\\bild", "D:\\ä", "D:\\ä"},
        {"C:\\ä.jpg", "C:\\ä", "C:\\ö.bmp", "C:\\ö.bmp"},
    };
    for (const auto& [path, preset, answer, result] : rows) {
        SCOPED_TRACE(path);
        w->txt_9_pfad.set_text(path);
        platform.save_dialog_answers = {answer};
        w->cmd_9_pfad.click();
        EXPECT_EQ(platform.calls_of("save_file_dialog").back().args, filter + preset);
        EXPECT_EQ(record(), std::string("code:|009|pfad:|") + result + "|");
    }

    choose("Programmpfad öffnen");
    platform.open_dialog_answers = {"C:\\neu|er.bat"};
    w->cmd_6_pfad.click();
    EXPECT_EQ(platform.calls_of("open_file_dialog").back().args, ".exe|*.exe|.bat|*.bat ");
    EXPECT_EQ(record(), "code:|006|pfad:|C:\\neuer.bat|");
}

}  // namespace
}  // namespace mavorin
