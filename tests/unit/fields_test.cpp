// Field handlers: guards, corrections, write-back, the pair rule, hot keys, capture, browsing.
#include <cstdio>
#include <tuple>

#include "editor_fixture.hpp"

namespace mavorin {
namespace {

using Text = const char*;

class FieldsTest : public testing::EditorFixture {
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
    // Panel, field, typed text, text after the handler's correction (nullptr: options), record.
    const std::tuple<Text, Text, Text, Text, Text> rows[] = {
        {"", "txt_0_wait", "60001", "60000", "code:|000|wait:|60000|loop:|1|start:|no|stop:|ESC|"},
        {"", "txt_0_wait", "-5", "0", "code:|000|wait:|0|loop:|1|start:|no|stop:|ESC|"},
        {"", "txt_0_loop", "4", "4", "code:|000|wait:|500|loop:|4|start:|no|stop:|ESC|"},
        {"Zufall Wartezeit", "txt_1_random2", "40", "40", "code:|001|wait:|0|maxwait:|40|"},
        {"Zufall Wartezeit", "txt_1_random1", "-3", "0", "code:|001|wait:|0|"},
        {"Zufall Wartezeit", "txt_1_random1", "99999", "60000", "code:|001|wait:|60000|"},
        {"Zufall Wartezeit", "txt_1_random2", "70000", "60000",
         "code:|001|wait:|0|maxwait:|60000|"},
        {"Mauszeiger zu X/Y Position gehen", "txt_2_x", "12abc", "12abc",
         "code:|002|xpos:|12|ypos:|0|"},
        {"Mauszeiger zu X/Y Position gehen", "txt_2_y", "9", "9", "code:|002|xpos:|0|ypos:|9|"},
        {"Mauszeiger Tastendruck", "opt_3_click", "2", nullptr, "code:|003|mouseclick:|right|"},
        // Bars are removed from every text field.
        {"Tastatur Eingabe", "txt_4_eingabetext", "x||y|", "xy", "code:|004|text:|xy|"},
        {"Zahl hochzählen in Zwischenablage", "txt_5_start", "7", "7",
         "code:|005|start:|7|step:|1|"},
        {"Zahl hochzählen in Zwischenablage", "txt_5_hochzählen", "3", "3",
         "code:|005|start:|0|step:|3|"},
        {"Programmpfad öffnen", "txt_6_pfad", "C:\\a|b.exe", "C:\\ab.exe",
         "code:|006|pfad:|C:\\ab.exe|"},
        {"PC Befehl ausführen", "opt_7_pc", "3", nullptr, "code:|007|pc:|screenoff|"},
        {"Screenshot erzeugen", "txt_9_pfad", "|s|.bmp", "s.bmp", "code:|009|pfad:|s.bmp|"},
        {"Pixel Veränderung", "txt_10_x", "8", "8", "code:|010|xpos:|8|ypos:|0|break:|0|"},
        {"Pixel Veränderung", "txt_10_y", "6", "6", "code:|010|xpos:|0|ypos:|6|break:|0|"},
        {"Pixel Veränderung", "txt_10_abbruch", "999999", "999999",
         "code:|010|xpos:|0|ypos:|0|break:|999999|"},
        {"Pixel Veränderung", "txt_10_abbruch", "-0.5", "0", "code:|010|xpos:|0|ypos:|0|break:|0|"},
        {"Pixel Veränderung", "txt_10_abbruch", "abc", "abc",
         "code:|010|xpos:|0|ypos:|0|break:|0|"},
    };
    for (const auto& [panel, name, typed, shown, written] : rows) {
        SCOPED_TRACE(std::string(name) + " <- " + typed);
        fresh(panel);
        std::string before = record();
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
        EXPECT_EQ(w->befehl_code[w->befehl_aktuell], std::string(written).substr(6, 3));
    }
}

TEST_F(FieldsTest, LeavingTheSettingsFieldsRaisesTooSmallValues) {
    w->hsc_befehle.set_value(0);
    const std::tuple<Text, Text, Text> rows[] = {
        {"txt_0_loop", "0.5", "0"}, {"txt_0_loop", "-2", "0"},  {"txt_0_loop", "abc", "0"},
        {"txt_0_loop", "3", "3"},   {"txt_0_wait", "11", "11"}, {"txt_0_wait", "7", "10"}};
    for (const auto& [name, typed, left] : rows) {
        field(name).set_text(typed);
        field(name).lose_focus();
        EXPECT_EQ(field(name).text(), left) << name << " <- " << typed;
    }
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

TEST_F(FieldsTest, PairRuleOfTheRandomWaitDragsTheOtherBoundEvenDuringARun) {
    w->hsc_befehle.set_value(1);
    choose("Zufall Wartezeit");
    w->txt_1_random1.set_text("100");
    w->txt_1_random2.set_text("250");
    EXPECT_EQ(record(), "code:|001|wait:|100|maxwait:|250|");
    w->txt_1_random1.set_text("300");
    EXPECT_EQ(w->txt_1_random2.text(), "300");
    EXPECT_EQ(record(), "code:|001|wait:|300|");
    // Typing "50" over "to" passes through "5", which drags "from" down.
    w->txt_1_random2.set_text("5");
    w->txt_1_random2.set_text("50");
    EXPECT_EQ(w->txt_1_random1.text(), "5");
    EXPECT_EQ(record(), "code:|001|wait:|5|maxwait:|50|");

    run_active(true);
    w->txt_1_random1.set_text("500");
    run_active(false);
    EXPECT_EQ(w->txt_1_random2.text(), "500");
    EXPECT_EQ(record(), "code:|001|wait:|5|maxwait:|50|");

    w->laden = true;
    w->txt_1_random1.set_text("900");
    w->laden = false;
    EXPECT_EQ(w->txt_1_random2.text(), "500");  // nothing at all while loading
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
    }
    EXPECT_EQ(record(), "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|");

    // Loading does not hold a choice off; a run does.
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

TEST_F(FieldsTest, CursorReadOutAndEnterCaptureOnThePressEdgeOnly) {
    w->hsc_befehle.set_value(1);
    choose("Mauszeiger zu X/Y Position gehen");
    platform.cursor = {1024, 77};
    platform.key_states[13] = {kKeyHeld, kKeyTapped, kKeyHeld, kKeyHeld, kKeyUp, kKeyTapped};
    clock.advance(10);
    EXPECT_EQ(w->lbl_2_Xpixel.caption(), "X: 1024 Pixel");
    EXPECT_EQ(w->lbl_2_Ypixel.caption(), "Y: 77 Pixel");
    EXPECT_EQ(w->txt_2_x.text(), "0");  // held, not pressed since the last poll
    clock.advance(10);
    EXPECT_EQ(record(), "code:|002|xpos:|1024|ypos:|77|");
    platform.cursor = {5, 6};
    clock.advance(30);
    EXPECT_EQ(w->txt_2_x.text(), "1024");  // still held: no second capture
    clock.advance(10);
    EXPECT_EQ(record(), "code:|002|xpos:|5|ypos:|6|");

    choose("Pixel Veränderung");
    platform.cursor = {-20, 1079};
    // Up-and-pressed-before does not capture either.
    platform.key_states[13] = {kKeyTappedAndLetGo, kKeyHeld, kKeyUp, kKeyTapped};
    clock.advance(30);
    EXPECT_EQ(w->txt_10_x.text(), "0");
    EXPECT_EQ(w->lbl_2_Xpixel.caption(), "X: -20 Pixel");
    clock.advance(10);
    EXPECT_EQ(record(), "code:|010|xpos:|-20|ypos:|1079|break:|0|");
    EXPECT_EQ(w->mauspos, (Point{-20, 1079}));

    // Other panels stop the read-out; running on another panel's code it captures nothing.
    choose("Mauszeiger Tastendruck");
    EXPECT_FALSE(w->Timer_XYPos.enabled());
    platform.clear_calls();
    clock.advance(100);
    EXPECT_TRUE(platform.calls_of("get_cursor_pos").empty());
    choose("Zufall Wartezeit");
    w->Timer_XYPos.set_enabled(true);
    platform.key_states[13] = {kKeyTapped};
    clock.advance(10);
    EXPECT_EQ(record(), "code:|001|wait:|0|");
    EXPECT_EQ(w->txt_2_x.text(), "5");
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
    // Path in the field, preset given to the dialog, its answer, the resulting path.
    const std::tuple<Text, Text, Text, Text> rows[] = {
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
        // Positions count characters, not bytes.
        {"D:\\bildö<90%>", "D:\\bild", "D:\\ä", "D:\\ä"},
        {"C:\\a.äb", "C:\\a.äb", "C:\\ü", "C:\\ü"},
        {"C:\\ä.jpg", "C:\\ä", "C:\\ö.bmp", "C:\\ö.bmp"},
    };
    for (const auto& [path, preset, answer, result] : rows) {
        SCOPED_TRACE(path);
        EXPECT_EQ(browse(path, answer), preset);
        EXPECT_EQ(w->txt_9_pfad.text(), result);
        EXPECT_EQ(record(), std::string("code:|009|pfad:|") + result + "|");
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

}  // namespace
}  // namespace mavorin
