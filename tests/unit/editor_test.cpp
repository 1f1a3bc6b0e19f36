// Editor panels, field corrections and write-back, hot keys, cursor capture, browsing, composer.
#include <gtest/gtest.h>

#include "fixture.hpp"

namespace mavorin {
namespace {

class EditorTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        start();
        go_to(1);
    }
    void go_to(int index) { w->hsc_befehle.set_value(index); }
    void choose(const std::string& code_name) {
        clock.advance(20);  // let the combo settle after the panel switch
        w->com_code.set_text(code_name);
    }
    std::vector<std::string> visible_names() {
        std::vector<std::string> v;
        for (int code = 0; code <= 10; ++code)
            for (auto* c : w->panels.panel_controls(code))
                if (c->visible()) v.push_back(c->name());
        return v;
    }
};

TEST_F(EditorTest, OnlyThePanelOfTheCurrentCodeIsVisible) {
    choose("Pixel Veränderung");
    EXPECT_EQ(
        w->lbl_info.caption(),
        "An welcher X/Y Position soll auf Veränderung geprüft werden? (Enter = Aktuelle Pos.)");
    auto v = visible_names();
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    EXPECT_EQ(v,
              (std::vector<std::string>{"lbl_10_abbruch", "lbl_2_X", "lbl_2_Xpixel", "lbl_2_Y",
                                        "lbl_2_Ypixel", "txt_10_abbruch", "txt_10_x", "txt_10_y"}));
    EXPECT_TRUE(w->Timer_XYPos.enabled());
    choose("Mauszeiger zu X/Y Position gehen");
    EXPECT_TRUE(w->Timer_XYPos.enabled());
    choose("Programmpfad öffnen");
    EXPECT_FALSE(w->Timer_XYPos.enabled());
    EXPECT_EQ(w->txt_6_pfad.text(), dir.path() + "/Mavorin.exe");
    EXPECT_EQ(w->befehl[1], "code:|006|pfad:|" + dir.path() + "/Mavorin.exe|");
    w->code_aktuell = 11;
    w->panels.codesichtbar();
    EXPECT_TRUE(visible_names().empty());
    EXPECT_EQ(w->lbl_info.caption(),
              "Welches Programm soll gestartet werden? (Pfadziel des Programmes eingeben)");
}

TEST_F(EditorTest, FieldsFillOnlyFromRecordsOfThePanelsCode) {
    w->befehl[1] = "code:|005|start:|7|step:|2|";
    w->befehl[2] = "code:|007|pc:|reboot|";
    w->records.befehl_aktuellencode();
    w->code_aktuell = 2;  // the 002 panel over a 005 record
    w->panels.codesichtbar();
    EXPECT_EQ(w->txt_2_x.text(), "0");
    EXPECT_EQ(w->txt_2_y.text(), "0");
    go_to(2);
    EXPECT_EQ(w->opt_7_pc.selected(), 1);
    w->befehl_aktuell = 2;
    w->befehl_wert1[2] = "Left";
    w->code_aktuell = 3;
    w->panels.codesichtbar();  // no code test for the option panels
    EXPECT_EQ(w->opt_3_click.selected(), 0);
}

TEST_F(EditorTest, CorrectionsRerunHandlersAndTheRecordHoldsTheResult) {
    go_to(0);
    w->txt_0_wait.set_text("70000");
    EXPECT_EQ(w->txt_0_wait.text(), "60000");
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|60000|loop:|1|start:|no|stop:|ESC|");
    w->txt_0_wait.set_text("-5");
    EXPECT_EQ(w->txt_0_wait.text(), "0");
    w->txt_0_loop.set_text("0.5");
    w->txt_0_loop.lose_focus();
    EXPECT_EQ(w->txt_0_loop.text(), "0");
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|0|loop:|0|start:|no|stop:|ESC|");
    w->txt_0_wait.lose_focus();
    EXPECT_EQ(w->txt_0_wait.text(), "10");

    go_to(1);
    choose("Pixel Veränderung");
    w->txt_10_abbruch.set_text("-1");
    EXPECT_EQ(w->txt_10_abbruch.text(), "0");
    w->txt_10_abbruch.set_text("999999");
    EXPECT_EQ(w->befehl[1], "code:|010|xpos:|0|ypos:|0|break:|999999|");
    choose("Tastatur Eingabe");
    w->txt_4_eingabetext.set_text("a|b");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "ab");
    EXPECT_EQ(w->befehl[1], "code:|004|text:|ab|");
}

TEST_F(EditorTest, PairRuleOfTheRandomWait) {
    w->txt_1_random1.set_text("100");
    w->txt_1_random2.set_text("250");
    EXPECT_EQ(w->befehl[1], "code:|001|wait:|100|maxwait:|250|");
    w->txt_1_random1.set_text("300");
    EXPECT_EQ(w->txt_1_random2.text(), "300");
    EXPECT_EQ(w->befehl[1], "code:|001|wait:|300|");
    // Typing "50" over "to" passes through "5", which drags "from" down.
    w->txt_1_random2.set_text("5");
    w->txt_1_random2.set_text("50");
    EXPECT_EQ(w->txt_1_random1.text(), "5");
    EXPECT_EQ(w->befehl[1], "code:|001|wait:|5|maxwait:|50|");
    w->txt_1_random2.set_text("70000");
    EXPECT_EQ(w->txt_1_random2.text(), "60000");
}

TEST_F(EditorTest, HotKeyChoicesSetCodeAndName) {
    go_to(0);
    w->com_0_startcode.set_text("F5");
    EXPECT_EQ(w->startcode, "&H74");
    EXPECT_EQ(w->startname, "F5");
    w->com_0_abbruchcode.set_text("F12");
    w->com_0_abbruchcode.set_text("ESC");
    EXPECT_EQ(w->abbruchcode, "&H1B");
    EXPECT_EQ(w->befehl[0], "code:|000|wait:|500|loop:|1|start:|F5|stop:|ESC|");
}

TEST_F(EditorTest, EnterCapturesThePointerOnThePressEdgeOnly) {
    choose("Mauszeiger zu X/Y Position gehen");
    platform.cursor = {1024, 77};
    platform.key_states[13] = {-32768, -32767, -32768, -32768, 0, -32767};
    clock.advance(10);
    EXPECT_EQ(w->lbl_2_Xpixel.caption(), "X: 1024 Pixel");
    EXPECT_EQ(w->lbl_2_Ypixel.caption(), "Y: 77 Pixel");
    EXPECT_EQ(w->txt_2_x.text(), "0");  // held, not pressed since the last poll
    clock.advance(10);
    EXPECT_EQ(w->befehl[1], "code:|002|xpos:|1024|ypos:|77|");
    platform.cursor = {5, 6};
    clock.advance(30);
    EXPECT_EQ(w->txt_2_x.text(), "1024");  // still held: no second capture
    clock.advance(10);
    EXPECT_EQ(w->befehl[1], "code:|002|xpos:|5|ypos:|6|");
}

TEST_F(EditorTest, BrowsingForAScreenshotPath) {
    choose("Screenshot erzeugen");
    const std::string filter = "BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg";
    w->txt_9_pfad.set_text("C:\\shots\\a.jpg <90%>");
    platform.save_dialog_answers = {"C:\\shots\\b"};
    w->cmd_9_pfad.click();
    EXPECT_EQ(platform.calls_of("save_file_dialog").back().args, filter + " C:\\shots\\a");
    EXPECT_EQ(w->txt_9_pfad.text(), "C:\\shots\\b.jpg <90%>");
    EXPECT_EQ(w->befehl[1], "code:|009|pfad:|C:\\shots\\b.jpg <90%>|");

    platform.save_dialog_answers = {"C:\\shots\\b.bmp"};
    w->cmd_9_pfad.click();
    EXPECT_EQ(w->txt_9_pfad.text(), "C:\\shots\\b.bmp");
    platform.save_dialog_answers = {"C:\\shots\\c.JPG"};
    w->txt_9_pfad.set_text("x");
    w->cmd_9_pfad.click();
    EXPECT_EQ(platform.calls_of("save_file_dialog").back().args, filter + " x");
    EXPECT_EQ(w->txt_9_pfad.text(), "C:\\shots\\c.JPG");  // no marker: the test is exact

    w->cmd_9_pfad.click();  // cancelled
    EXPECT_EQ(w->txt_9_pfad.text(), "C:\\shots\\c.JPG");

    choose("Programmpfad öffnen");
    platform.open_dialog_answers = {"/usr/bin/xterm"};
    w->cmd_6_pfad.click();
    EXPECT_EQ(platform.calls_of("open_file_dialog").back().args, ".exe|*.exe|.bat|*.bat ");
    EXPECT_EQ(w->befehl[1], "code:|006|pfad:|/usr/bin/xterm|");
}

TEST_F(EditorTest, ComposerAppendsTokensAndTheListReturnsToItsPrompt) {
    choose("Tastatur Eingabe");
    clock.advance(20);
    w->txt_4_eingabetext.set_text("abc");
    w->com_4_eingabebefehl.set_text("Eingabetaste");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "abc{ENTER}");
    EXPECT_EQ(w->com_4_eingabebefehl.list_index(), 8);
    clock.advance(10);
    EXPECT_EQ(w->com_4_eingabebefehl.text(), "Wähle einen Befehl");
    EXPECT_FALSE(w->Timer_combobox.enabled());
    w->txt_4_eingabetext.set_text("");
    for (const char* e : {"F12", "F12", "{", "}", "CODE5", "Strg"}) {
        w->com_4_eingabebefehl.set_text(e);
        clock.advance(10);
    }
    EXPECT_EQ(w->befehl[1], "code:|004|text:|{F12}{F12}{{}{}}{CODE5}{CTRL}|");
    EXPECT_EQ(special_keys()[37].token, std::string("{CODE5}"));
}

TEST_F(EditorTest, DriveFieldsWithoutCdDrives) {
    EXPECT_TRUE(w->kein_laufwerk);
    EXPECT_FALSE(w->com_8_laufwerk.enabled());
    EXPECT_FALSE(w->com_8_move.enabled());
    EXPECT_EQ(w->com_8_move.text(), "Auswerfen");
    EXPECT_EQ(w->com_8_laufwerk.list_count(), 0);
}

class DriveTest : public testing::WindowTest {};

TEST_F(DriveTest, CdDrivesAreListedOnceAndPreselected) {
    platform.roots = {"C:\\", "D:\\", "E:\\", "F:\\"};
    platform.drive_types = {{"D:\\", 5}, {"F:\\", 5}, {"C:\\", 3}};
    start();
    EXPECT_EQ(w->com_8_laufwerk.items(), (std::vector<std::string>{"D:\\", "F:\\"}));
    EXPECT_EQ(w->com_8_laufwerk.text(), "D:\\");
    w->cmd_neu.click();
    EXPECT_EQ(w->com_8_laufwerk.items(), (std::vector<std::string>{"D:\\", "F:\\"}));
    w->hsc_befehle.set_value(1);
    clock.advance(20);
    w->com_code.set_text("CD-Laufwerk öffnen/schließen");
    w->com_8_move.set_text("Einziehen");
    EXPECT_EQ(w->befehl[1], "code:|008|drive:|D:\\|move:|close|");
}

}  // namespace
}  // namespace mavorin
