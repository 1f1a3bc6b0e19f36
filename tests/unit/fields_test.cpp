// Field handlers: guards, corrections, write-back, the pair rule, hot keys, capture, browsing.
#include <cstdio>
#include <tuple>

#include "app/commands.hpp"
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

TEST_F(FieldsTest, PlainFieldsWithoutAHandlerOfTheirOwnWriteTheirRowsRecord) {
    w->txt_5_start.on_change = nullptr;
    w->panels.wire_plain_fields();
    w->hsc_befehle.set_value(1);
    choose("Zahl hochzählen in Zwischenablage");
    w->txt_5_start.set_text("7x");
    EXPECT_EQ(record(), "code:|005|start:|7|step:|1|");
    w->code_aktuell = 3;  // during a run the step's code stays
    run_active(true);
    w->txt_5_start.set_text("8");
    run_active(false);
    EXPECT_EQ(w->code_aktuell, 3);
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
    w->txt_1_random2.set_text("250");
    w->txt_1_random1.set_text("300");
    EXPECT_EQ(w->txt_1_random2.text(), "300");
    EXPECT_EQ(record(), "code:|001|wait:|300|");
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

TEST_F(FieldsTest, HotKeyChoicesFollowTheirTables) {
    w->hsc_befehle.set_value(0);
    for (int i = 12; i >= 0; --i) {
        char code[8];
        std::snprintf(code, sizeof code, "&H%X", 0x6F + i);  // F1 is &H70
        w->com_0_startcode.set_list_index(i);
        w->com_0_abbruchcode.set_list_index(i);
        EXPECT_EQ(w->startname + w->startcode, i ? "F" + std::to_string(i) + code : "no&H7C");
        EXPECT_EQ(w->abbruchname + w->abbruchcode, i ? "F" + std::to_string(i) + code : "ESC&H1B");
    }
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

    // Other panels stop the read-out; running on another panel's code it captures nothing.
    choose("Zufall Wartezeit");
    EXPECT_FALSE(w->Timer_XYPos.enabled());
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
