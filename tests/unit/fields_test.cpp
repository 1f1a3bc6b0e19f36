// Field handlers: guards, corrections, write-back, the pair rule, hot keys, capture, browsing.
#include <cstdio>
#include <functional>

#include "editor_fixture.hpp"

namespace mavorin {
namespace {

using testing::EditorFixture;

class FieldsTest : public EditorFixture {
  protected:
    void run_active(bool on) { w->Timer_startloop.set_enabled(on); }
};

// One user edit per row, on the panel it belongs to, with the record it must produce.
struct Edit {
    const char* panel;  // code name chosen first, "" for the settings record
    std::function<void(frm_mavorin&)> act;
    const char* written;
};

TEST_F(FieldsTest, EveryFieldWritesItsRecordUnlessLoadingOrRunning) {
    const Edit edits[] = {
        {"", [](frm_mavorin& w) { w.txt_0_wait.set_text("750"); },
         "code:|000|wait:|750|loop:|1|start:|no|stop:|ESC|"},
        {"", [](frm_mavorin& w) { w.txt_0_loop.set_text("4"); },
         "code:|000|wait:|500|loop:|4|start:|no|stop:|ESC|"},
        {"Zufall Wartezeit", [](frm_mavorin& w) { w.txt_1_random2.set_text("40"); },
         "code:|001|wait:|0|maxwait:|40|"},
        {"Mauszeiger zu X/Y Position gehen", [](frm_mavorin& w) { w.txt_2_x.set_text("12abc"); },
         "code:|002|xpos:|12|ypos:|0|"},
        {"Mauszeiger zu X/Y Position gehen", [](frm_mavorin& w) { w.txt_2_y.set_text("9"); },
         "code:|002|xpos:|0|ypos:|9|"},
        {"Mauszeiger Tastendruck", [](frm_mavorin& w) { w.opt_3_click.select(2); },
         "code:|003|mouseclick:|right|"},
        {"Tastatur Eingabe", [](frm_mavorin& w) { w.txt_4_eingabetext.set_text("hallo"); },
         "code:|004|text:|hallo|"},
        {"Zahl hochzählen in Zwischenablage", [](frm_mavorin& w) { w.txt_5_start.set_text("7"); },
         "code:|005|start:|7|step:|1|"},
        {"Zahl hochzählen in Zwischenablage",
         [](frm_mavorin& w) { w.txt_5_hochzählen.set_text("3"); }, "code:|005|start:|0|step:|3|"},
        {"Programmpfad öffnen", [](frm_mavorin& w) { w.txt_6_pfad.set_text("/bin/true"); },
         "code:|006|pfad:|/bin/true|"},
        {"PC Befehl ausführen", [](frm_mavorin& w) { w.opt_7_pc.select(3); },
         "code:|007|pc:|screenoff|"},
        {"Screenshot erzeugen", [](frm_mavorin& w) { w.txt_9_pfad.set_text("s.bmp"); },
         "code:|009|pfad:|s.bmp|"},
        {"Pixel Veränderung", [](frm_mavorin& w) { w.txt_10_x.set_text("8"); },
         "code:|010|xpos:|8|ypos:|0|break:|0|"},
        {"Pixel Veränderung", [](frm_mavorin& w) { w.txt_10_y.set_text("6"); },
         "code:|010|xpos:|0|ypos:|6|break:|0|"},
        {"Pixel Veränderung", [](frm_mavorin& w) { w.txt_10_abbruch.set_text("30"); },
         "code:|010|xpos:|0|ypos:|0|break:|30|"},
    };
    // A fresh window for every attempt, so that each field starts from its design text.
    auto fresh = [this](const Edit& e) {
        w = std::make_unique<frm_mavorin>(platform, clock);
        start();
        if (*e.panel) {
            w->hsc_befehle.set_value(1);
            choose(e.panel);
        }
        return record();
    };
    int row = 0;
    for (const Edit& e : edits) {
        SCOPED_TRACE(row++);
        std::string before = fresh(e);
        w->laden = true;
        e.act(*w);
        w->laden = false;
        EXPECT_EQ(record(), before) << "written while loading";

        before = fresh(e);
        run_active(true);
        e.act(*w);
        run_active(false);
        EXPECT_EQ(record(), before) << "written during a run";

        fresh(e);
        e.act(*w);
        EXPECT_EQ(record(), e.written);
        // The value arrays mirror the record just written.
        EXPECT_EQ(w->befehl_code[w->befehl_aktuell], std::string(e.written).substr(6, 3));
    }
}

TEST_F(FieldsTest, CorrectionsLeaveTheCorrectedTextInFieldAndRecord) {
    w->hsc_befehle.set_value(1);
    choose("Pixel Veränderung");
    w->txt_10_abbruch.set_text("-0.5");
    EXPECT_EQ(w->txt_10_abbruch.text(), "0");
    EXPECT_EQ(record(), "code:|010|xpos:|0|ypos:|0|break:|0|");
    w->txt_10_abbruch.set_text("abc");  // reads as 0, which is not below 0
    EXPECT_EQ(w->txt_10_abbruch.text(), "abc");

    choose("Zufall Wartezeit");
    w->txt_1_random1.set_text("-3");
    EXPECT_EQ(w->txt_1_random1.text(), "0");
    w->txt_1_random1.set_text("99999");
    EXPECT_EQ(w->txt_1_random1.text(), "60000");
    EXPECT_EQ(w->txt_1_random2.text(), "60000");  // dragged up by the pair rule
    EXPECT_EQ(record(), "code:|001|wait:|60000|");

    choose("Mauszeiger zu X/Y Position gehen");
    w->txt_2_x.set_text("12abc");  // no rule: the text stays, the record reads it leniently
    EXPECT_EQ(w->txt_2_x.text(), "12abc");
    EXPECT_EQ(record(), "code:|002|xpos:|12|ypos:|0|");

    w->hsc_befehle.set_value(0);
    w->txt_0_wait.set_text("60001");
    EXPECT_EQ(w->txt_0_wait.text(), "60000");
    EXPECT_EQ(record(), "code:|000|wait:|60000|loop:|1|start:|no|stop:|ESC|");
}

TEST_F(FieldsTest, BarsNeverReachARecordFromATextField) {
    w->hsc_befehle.set_value(1);
    choose("Tastatur Eingabe");
    w->txt_4_eingabetext.set_text("|");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "");
    EXPECT_EQ(record(), "code:|004|text:||");
    w->txt_4_eingabetext.set_text("x||y|");
    EXPECT_EQ(record(), "code:|004|text:|xy|");

    choose("Programmpfad öffnen");
    w->txt_6_pfad.set_text("C:\\a|b.exe");
    EXPECT_EQ(w->txt_6_pfad.text(), "C:\\ab.exe");
    EXPECT_EQ(record(), "code:|006|pfad:|C:\\ab.exe|");

    choose("Screenshot erzeugen");
    w->txt_9_pfad.set_text("|s|.bmp");
    EXPECT_EQ(record(), "code:|009|pfad:|s.bmp|");
}

TEST_F(FieldsTest, PairRuleDragsTheOtherBoundEvenDuringARun) {
    w->hsc_befehle.set_value(1);
    choose("Zufall Wartezeit");
    w->txt_1_random1.set_text("100");
    w->txt_1_random2.set_text("250");
    // Lowering "to" below "from" drags "from" down and writes both.
    w->txt_1_random2.set_text("2");
    EXPECT_EQ(w->txt_1_random1.text(), "2");
    EXPECT_EQ(record(), "code:|001|wait:|2|");
    w->txt_1_random2.set_text("20");
    EXPECT_EQ(w->txt_1_random1.text(), "2");
    EXPECT_EQ(record(), "code:|001|wait:|2|maxwait:|20|");

    run_active(true);
    w->txt_1_random1.set_text("500");
    run_active(false);
    EXPECT_EQ(w->txt_1_random2.text(), "500");
    EXPECT_EQ(record(), "code:|001|wait:|2|maxwait:|20|");

    w->laden = true;
    w->txt_1_random1.set_text("900");
    w->laden = false;
    EXPECT_EQ(w->txt_1_random2.text(), "500");  // nothing at all while loading
}

TEST_F(FieldsTest, LeavingTheSettingsFields) {
    w->hsc_befehle.set_value(0);
    for (const char* low : {"0.5", "-2", "abc"}) {
        w->txt_0_loop.set_text(low);
        w->txt_0_loop.lose_focus();
        EXPECT_EQ(w->txt_0_loop.text(), "0") << low;
    }
    EXPECT_EQ(record(), "code:|000|wait:|500|loop:|0|start:|no|stop:|ESC|");
    w->txt_0_loop.set_text("3");
    w->txt_0_loop.lose_focus();
    EXPECT_EQ(w->txt_0_loop.text(), "3");

    w->txt_0_wait.set_text("7");
    w->txt_0_wait.lose_focus();
    EXPECT_EQ(w->txt_0_wait.text(), "10");
    EXPECT_EQ(record(), "code:|000|wait:|10|loop:|3|start:|no|stop:|ESC|");

    // The rules belong to the settings record; with another command current they do nothing.
    w->laden = true;
    w->txt_0_loop.set_text("0.2");
    w->txt_0_wait.set_text("3");
    w->befehl_aktuell = 1;
    w->laden = false;
    w->txt_0_loop.lose_focus();
    w->txt_0_wait.lose_focus();
    EXPECT_EQ(w->txt_0_loop.text(), "0.2");
    EXPECT_EQ(w->txt_0_wait.text(), "3");
}

TEST_F(FieldsTest, HotKeyChoicesFollowTheirTables) {
    w->hsc_befehle.set_value(0);
    for (int i = 12; i >= 0; --i) {
        char code[8];
        std::snprintf(code, sizeof code, "&H%X", 0x6F + i);  // F1 is &H70
        const std::string f = "F" + std::to_string(i);
        w->com_0_startcode.set_list_index(i);
        w->com_0_abbruchcode.set_list_index(i);
        EXPECT_EQ(w->startname, i == 0 ? "no" : f);
        EXPECT_EQ(w->startcode, i == 0 ? "&H7C" : code);
        EXPECT_EQ(w->abbruchname, i == 0 ? "ESC" : f);
        EXPECT_EQ(w->abbruchcode, i == 0 ? "&H1B" : code);
        EXPECT_EQ(w->com_0_startcode.text(), w->startname);
        EXPECT_EQ(w->com_0_abbruchcode.text(), w->abbruchname);
    }
    EXPECT_EQ(record(), "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");

    // No laden test: a programmatic choice still takes effect.
    w->laden = true;
    w->com_0_startcode.set_text("F5");
    w->laden = false;
    EXPECT_EQ(w->startcode, "&H74");
    EXPECT_EQ(record(), "code:|000|wait:|500|loop:|1|start:|F5|stop:|ESC|");

    run_active(true);
    w->com_0_abbruchcode.set_text("F2");
    run_active(false);
    EXPECT_EQ(w->abbruchcode, "&H1B");
}

TEST_F(FieldsTest, EnterCapturesIntoThePixelWatchFieldsOnThePressEdge) {
    w->hsc_befehle.set_value(1);
    choose("Pixel Veränderung");
    platform.cursor = {-20, 1079};
    // Down but not newly pressed, up-and-pressed-before, other bits: none of them capture.
    platform.key_states[13] = {-32768, 1, -32766, 0, -32767};
    clock.advance(40);
    EXPECT_EQ(w->txt_10_x.text(), "0");
    EXPECT_EQ(w->lbl_2_Xpixel.caption(), "X: -20 Pixel");
    EXPECT_EQ(w->lbl_2_Ypixel.caption(), "Y: 1079 Pixel");
    clock.advance(10);
    EXPECT_EQ(w->txt_10_x.text(), "-20");
    EXPECT_EQ(w->txt_10_y.text(), "1079");
    EXPECT_EQ(record(), "code:|010|xpos:|-20|ypos:|1079|break:|0|");
    EXPECT_EQ(w->mauspos, (Point{-20, 1079}));

    // With the read-out running on another panel's code nothing is captured.
    choose("Zufall Wartezeit");
    w->Timer_XYPos.set_enabled(true);
    platform.key_states[13] = {-32767};
    clock.advance(10);
    EXPECT_EQ(record(), "code:|001|wait:|0|");
    EXPECT_EQ(w->txt_2_x.text(), "0");
}

class BrowseTest : public FieldsTest {
  protected:
    static constexpr const char* kFilter = "BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg";
    void SetUp() override {
        FieldsTest::SetUp();
        w->hsc_befehle.set_value(1);
        choose("Screenshot erzeugen");
    }
    // Browses from `path`, answering the dialog with `answer`; returns the preset it was given.
    std::string browse(const std::string& path, const std::string& answer) {
        w->txt_9_pfad.set_text(path);
        platform.save_dialog_answers = {answer};
        w->cmd_9_pfad.click();
        const auto calls = platform.calls_of("save_file_dialog");
        EXPECT_EQ(calls.back().args.substr(0, std::string(kFilter).size()), kFilter);
        return calls.back().args.substr(std::string(kFilter).size() + 1);
    }
};

TEST_F(BrowseTest, MarkerAndExtensionAreSetAsideAndRestored) {
    struct Row {
        const char* path;
        const char* preset;
        const char* answer;
        const char* result;
    };
    const Row rows[] = {
        {"C:\\shots\\a.jpg <90%>", "C:\\shots\\a", "C:\\shots\\b", "C:\\shots\\b.jpg <90%>"},
        {"C:\\shots\\a.jpg <90%>", "C:\\shots\\a", "C:\\shots\\b.bmp", "C:\\shots\\b.bmp"},
        {"C:\\shots\\a.bmp", "C:\\shots\\a", "C:\\shots\\b.jpg", "C:\\shots\\b.jpg <90%>"},
        {"", "", "C:\\x", "C:\\x"},
        {"a.b", "a.b", "q", "q"},                      // too short to hold an extension
        {".jpg", "", "q", "q.jpg <90%>"},              // all of it is the extension
        {"abc>", "abc>", "z", "z"},                    // ">" without "<" is no marker
        {"<5%>", "", "z", "z"},                        // nothing is left before the marker
        {"ab <5%>", "ab", "z", "z"},                   // the blank before "<" goes with it
        {"C:\\b.JPG", "C:\\b", "C:\\c", "C:\\c.JPG"},  // no marker: the test is exact
        {"C:\\b.bmp", "C:\\b", "C:\\c.JPG", "C:\\c.JPG"},
        {"C:\\bilder\\schön.bmp", "C:\\bilder\\schön", "C:\\bilder\\groß", "C:\\bilder\\groß.bmp"},
        // Positions count characters, not bytes.
        {"D:\\bildö<90%>", "D:\\bild", "D:\\ä", "D:\\ä"},
        {"C:\\a.äb", "C:\\a.äb", "C:\\ü", "C:\\ü"},
        {"C:\\ä.jpg", "C:\\ä", "C:\\ö.bmp", "C:\\ö.bmp"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(browse(r.path, r.answer), r.preset);
        EXPECT_EQ(w->txt_9_pfad.text(), r.result);
        EXPECT_EQ(record(), std::string("code:|009|pfad:|") + r.result + "|");
    }
}

TEST_F(BrowseTest, CancellingChangesNothing) {
    EXPECT_EQ(browse("C:\\a.jpg <90%>", ""), "C:\\a");
    EXPECT_EQ(w->txt_9_pfad.text(), "C:\\a.jpg <90%>");
    EXPECT_EQ(record(), "code:|009|pfad:|C:\\a.jpg <90%>|");

    choose("Programmpfad öffnen");
    w->txt_6_pfad.set_text("C:\\alt.exe");
    w->cmd_6_pfad.click();  // no answer scripted: cancelled
    EXPECT_EQ(platform.calls_of("open_file_dialog").back().args, ".exe|*.exe|.bat|*.bat ");
    EXPECT_EQ(record(), "code:|006|pfad:|C:\\alt.exe|");
    platform.open_dialog_answers = {"C:\\neu|er.bat"};
    w->cmd_6_pfad.click();
    EXPECT_EQ(record(), "code:|006|pfad:|C:\\neuer.bat|");
}

class DriveFieldsTest : public FieldsTest {
  protected:
    void SetUp() override {
        platform.roots = {"D:\\", "E:\\"};
        platform.drive_types = {{"D:\\", 5}, {"E:\\", 5}};
        start();
        w->hsc_befehle.set_value(1);
        choose("CD-Laufwerk öffnen/schließen");
    }
};

TEST_F(DriveFieldsTest, DriveCombosWriteUnlessHeldOff) {
    w->com_8_laufwerk.set_text("E:\\");
    EXPECT_EQ(record(), "code:|008|drive:|E:\\|move:|open|");
    w->combo_sperre = true;
    w->com_8_move.set_text("Einziehen");
    w->combo_sperre = false;
    EXPECT_EQ(record(), "code:|008|drive:|E:\\|move:|open|");
    w->laden = true;
    w->com_8_laufwerk.set_text("D:\\");
    w->laden = false;
    EXPECT_EQ(record(), "code:|008|drive:|E:\\|move:|open|");
    run_active(true);
    w->com_8_move.set_text("Auswerfen");
    run_active(false);
    w->com_8_move.set_text("Einziehen");
    EXPECT_EQ(record(), "code:|008|drive:|D:\\|move:|close|");
}

}  // namespace
}  // namespace mavorin
