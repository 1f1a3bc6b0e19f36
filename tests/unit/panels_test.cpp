// Panel switching: which controls show, in what order, the prompt, and how fields are filled.
#include <algorithm>
#include <map>
#include <set>

#include "editor_fixture.hpp"

namespace mavorin {
namespace {

using testing::EditorFixture;
using Names = std::vector<std::string>;

// Logs every visibility change and every text change of the controls it watches.
class ChangeLog : public form::ControlObserver {
  public:
    explicit ChangeLog(frm_mavorin& w) : watched_(w.panels.hide_order()) {
        for (form::Control* c : watched_) {
            c->set_observer(this);
            shown_[c] = c->visible();
            if (auto* t = dynamic_cast<TextBox*>(c)) text_[c] = t->text();
        }
    }
    ~ChangeLog() override {
        for (form::Control* c : watched_) c->set_observer(nullptr);
    }
    void control_changed(form::Control& c) override {
        if (shown_[&c] != c.visible()) {
            shown_[&c] = c.visible();
            events.push_back((c.visible() ? "show " : "hide ") + c.name());
        }
        if (auto* t = dynamic_cast<TextBox*>(&c); t && text_[&c] != t->text()) {
            text_[&c] = t->text();
            events.push_back((c.visible() ? "fill shown " : "fill ") + c.name());
        }
    }
    Names with_prefix(const std::string& prefix) const {
        Names v;
        for (const auto& e : events)
            if (e.rfind(prefix, 0) == 0) v.push_back(e.substr(prefix.size()));
        return v;
    }
    Names events;

  private:
    std::vector<form::Control*> watched_;
    std::map<form::Control*, bool> shown_;
    std::map<form::Control*, std::string> text_;
};

class PanelsTest : public EditorFixture {
  protected:
    std::set<std::string> visible_panel_controls() {
        std::set<std::string> v;
        for (form::Control* c : w->panels.hide_order())
            if (c->visible()) v.insert(c->name());
        return v;
    }
    void all_panel_controls_visible() {
        for (form::Control* c : w->panels.hide_order()) c->set_visible(true);
    }
};

TEST_F(PanelsTest, EachCodeShowsExactlyItsControlsAndPrompt) {
    struct Row {
        const char* record;
        const char* prompt;
        Names shown;
    };
    const Row rows[] = {
        {"code:|001|wait:|0|",
         "Welche Zufallszeit soll gewartet werden?",
         {"lbl_1_random", "txt_1_random1", "txt_1_random2", "lbl_1_ms"}},
        {"code:|002|xpos:|0|ypos:|0|",
         "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)",
         {"lbl_2_X", "txt_2_x", "lbl_2_Y", "txt_2_y", "lbl_2_Xpixel", "lbl_2_Ypixel"}},
        {"code:|003|mouseclick:|left|",
         "Mit welcher Taste klicken?",
         {"opt_3_click(0)", "opt_3_click(1)", "opt_3_click(2)"}},
        {"code:|004|text:|a|",
         "Welche Befehle und Buchstaben sollen ausgegeben werden?",
         {"lbl_4_eingabebefehl", "com_4_eingabebefehl", "lbl_4_eingabetext", "txt_4_eingabetext"}},
        {"code:|005|start:|0|step:|1|",
         "Welche Zahl soll hochgezählt werden? Wird kopiert in den Zwischenspeicher und in "
         "{CODE5}.",
         {"lbl_5_start", "txt_5_start", "lbl_5_hochzählen", "txt_5_hochzählen"}},
        {"code:|006|pfad:|a|",
         "Welches Programm soll gestartet werden? (Pfadziel des Programmes eingeben)",
         {"lbl_6_pfad", "txt_6_pfad", "cmd_6_pfad"}},
        {"code:|007|pc:|end|",
         "Welchen PC Befehl ausführen?",
         {"opt_7_pc(0)", "opt_7_pc(1)", "opt_7_pc(2)", "opt_7_pc(3)", "opt_7_pc(4)", "opt_7_pc(5)",
          "opt_7_pc(6)"}},
        {"code:|008|drive:||move:|open|",
         "Welches CD-Laufwerk öffnen/schließen?",
         {"lbl_8_laufwerk", "com_8_laufwerk", "lbl_8_move", "com_8_move"}},
        {"code:|009|pfad:|a|",
         "Screenshot vom Bildschirm erzeugen und speichern? (Pfad angeben)",
         {"lbl_9_pfad", "txt_9_pfad", "cmd_9_pfad"}},
        {"code:|010|xpos:|0|ypos:|0|break:|0|",
         "An welcher X/Y Position soll auf Veränderung geprüft werden? (Enter = Aktuelle Pos.)",
         {"lbl_2_X", "txt_10_x", "lbl_2_Y", "txt_10_y", "lbl_2_Xpixel", "lbl_2_Ypixel",
          "lbl_10_abbruch", "txt_10_abbruch"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.record);
        w->befehl[2] = row.record;
        w->hsc_befehle.set_value(1);
        all_panel_controls_visible();
        ChangeLog log(*w);
        w->hsc_befehle.set_value(2);
        EXPECT_EQ(w->lbl_info.caption(), row.prompt);
        EXPECT_EQ(visible_panel_controls(),
                  std::set<std::string>(row.shown.begin(), row.shown.end()));
        EXPECT_EQ(log.with_prefix("show "), row.shown);  // in the panel's own order
        EXPECT_EQ(w->befehl[2], row.record);             // filling wrote nothing back
    }

    show(0, w->befehl[0]);
    EXPECT_EQ(w->lbl_info.caption(), "Welche Grundeinstellungen?");
    EXPECT_EQ(visible_panel_controls(),
              (std::set<std::string>{"lbl_0_wait", "txt_0_wait", "lbl_0_ms", "lbl_0_loop",
                                     "txt_0_loop", "lbl_0_mal", "lbl_0_transparenz",
                                     "chk_0_transparenz", "lbl_0_vordergrund", "chk_0_vordergrund",
                                     "lbl_0_listbox", "chk_0_listbox", "lbl_0_startcode",
                                     "com_0_startcode", "lbl_0_abbruchcode", "com_0_abbruchcode"}));
}

TEST_F(PanelsTest, HidesEverythingInOrderAndFillsFieldsWhileHidden) {
    all_panel_controls_visible();
    w->befehl_code[1] = "010";
    w->befehl_wert1[1] = "7";
    w->befehl_aktuell = 1;
    ChangeLog log(*w);
    panel(10);
    const Names hidden = {"lbl_0_wait",
                          "txt_0_wait",
                          "lbl_0_ms",
                          "lbl_0_loop",
                          "txt_0_loop",
                          "lbl_0_transparenz",
                          "chk_0_transparenz",
                          "lbl_0_vordergrund",
                          "chk_0_vordergrund",
                          "lbl_0_listbox",
                          "chk_0_listbox",
                          "lbl_0_mal",
                          "lbl_0_startcode",
                          "com_0_startcode",
                          "lbl_0_abbruchcode",
                          "com_0_abbruchcode",
                          "lbl_1_random",
                          "txt_1_random1",
                          "txt_1_random2",
                          "lbl_1_ms",
                          "lbl_2_X",
                          "txt_2_x",
                          "lbl_2_Y",
                          "txt_2_y",
                          "lbl_2_Xpixel",
                          "lbl_2_Ypixel",
                          "opt_3_click(0)",
                          "opt_3_click(1)",
                          "opt_3_click(2)",
                          "lbl_4_eingabebefehl",
                          "com_4_eingabebefehl",
                          "lbl_4_eingabetext",
                          "txt_4_eingabetext",
                          "lbl_5_start",
                          "txt_5_start",
                          "lbl_5_hochzählen",
                          "txt_5_hochzählen",
                          "lbl_6_pfad",
                          "txt_6_pfad",
                          "cmd_6_pfad",
                          "opt_7_pc(0)",
                          "opt_7_pc(1)",
                          "opt_7_pc(2)",
                          "opt_7_pc(3)",
                          "opt_7_pc(4)",
                          "opt_7_pc(5)",
                          "opt_7_pc(6)",
                          "lbl_8_laufwerk",
                          "com_8_laufwerk",
                          "lbl_8_move",
                          "com_8_move",
                          "lbl_9_pfad",
                          "txt_9_pfad",
                          "cmd_9_pfad",
                          "txt_10_x",
                          "txt_10_y",
                          "lbl_10_abbruch",
                          "txt_10_abbruch"};
    EXPECT_EQ(log.with_prefix("hide "), hidden);
    // The one changed field was filled before anything of the panel showed.
    ASSERT_EQ(log.with_prefix("fill "), Names{"txt_10_x"});
    EXPECT_TRUE(log.with_prefix("fill shown ").empty());
    const auto fill = std::find(log.events.begin(), log.events.end(), "fill txt_10_x");
    const auto first_show = std::find(log.events.begin(), log.events.end(), "show lbl_2_X");
    EXPECT_LT(fill, first_show);
}

TEST_F(PanelsTest, FieldsComeFromRecordsOfThePanelsCodeOnly) {
    // Number fields are read leniently; text fields show the stored text unchanged.
    show(1, "code:|001|wait:|12abc|maxwait:||");
    EXPECT_EQ(w->txt_1_random1.text(), "12");
    EXPECT_EQ(w->txt_1_random2.text(), "0");
    show(1, "code:|002|xpos:|&H10|ypos:| 7|");
    EXPECT_EQ(w->txt_2_x.text(), "16");
    EXPECT_EQ(w->txt_2_y.text(), "7");
    show(1, "code:|010|xpos:|3|ypos:|4.0|break:|-2|");
    EXPECT_EQ(w->txt_10_x.text(), "3");
    EXPECT_EQ(w->txt_10_y.text(), "4");
    EXPECT_EQ(w->txt_10_abbruch.text(), "-2");
    show(1, "code:|004|text:|{ENTER}a b|");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "{ENTER}a b");
    show(1, "code:|005|start:|007|step:|2x|");
    EXPECT_EQ(w->txt_5_start.text(), "007");
    EXPECT_EQ(w->txt_5_hochzählen.text(), "2x");
    show(1, "code:|006|pfad:|C:\\prog.exe|");
    EXPECT_EQ(w->txt_6_pfad.text(), "C:\\prog.exe");
    show(1, "code:|009|pfad:|C:\\a.jpg <80%>|");
    EXPECT_EQ(w->txt_9_pfad.text(), "C:\\a.jpg <80%>");

    // The same panels over a record of another code take their defaults.
    show(2, "code:|002|xpos:|5|ypos:|6|");
    for (double code : {1, 4, 5, 10}) panel(code);
    EXPECT_EQ(w->txt_1_random1.text(), "0");
    EXPECT_EQ(w->txt_1_random2.text(), "0");
    EXPECT_EQ(w->txt_4_eingabetext.text(), "");
    EXPECT_EQ(w->txt_5_start.text(), "0");
    EXPECT_EQ(w->txt_5_hochzählen.text(), "1");
    EXPECT_EQ(w->txt_10_x.text(), "0");
    EXPECT_EQ(w->txt_10_y.text(), "0");
    EXPECT_EQ(w->txt_10_abbruch.text(), "0");
    show(3, "code:|005|start:|1|step:|1|");
    panel(2);
    EXPECT_EQ(w->txt_2_x.text(), "0");
    EXPECT_EQ(w->txt_2_y.text(), "0");
    EXPECT_EQ(w->befehl[3], "code:|005|start:|1|step:|1|");
}

TEST_F(PanelsTest, PathDefaultsUseTheFolderAtTheMomentOfTheCall) {
    show(1, "code:|002|xpos:|5|ypos:|6|");
    panel(6);
    EXPECT_EQ(w->txt_6_pfad.text(), dir.path() + "/Mavorin.exe");
    platform.set_current_folder("C:\\Arbeit");
    platform.separator = "\\";
    panel(6);
    EXPECT_EQ(w->txt_6_pfad.text(), "C:\\Arbeit\\Mavorin.exe");
    panel(9);
    EXPECT_EQ(w->txt_9_pfad.text(), "C:\\Arbeit\\Screenshot.bmp");
    EXPECT_EQ(w->befehl[1], "code:|002|xpos:|5|ypos:|6|");
}

TEST_F(PanelsTest, OptionPanelsReadTheirWordWhateverTheRecordsCode) {
    const std::pair<const char*, int> clicks[] = {{"middle", 1}, {"right", 2}, {"left", 0},
                                                  {"right", 2},  {"Left", 0},  {"", 0}};
    for (const auto& [word, option] : clicks) {
        show(1, std::string("code:|003|mouseclick:|") + word + "|");
        EXPECT_EQ(w->opt_3_click.selected(), option) << word;
    }
    const std::pair<const char*, int> pcs[] = {
        {"reboot", 1},        {"shutdown", 2},     {"screenoff", 3}, {"end", 4},
        {"input-disable", 5}, {"input-enable", 6}, {"lockpc", 0},    {"REBOOT", 0}};
    for (const auto& [word, option] : pcs) {
        show(1, std::string("code:|006|pfad:|") + word + "|");  // not a 007 record
        panel(7);
        EXPECT_EQ(w->opt_7_pc.selected(), option) << word;
        for (int i = 0; i < 7; ++i) EXPECT_EQ(w->opt_7_pc[i].value(), i == option);
    }
}

TEST_F(PanelsTest, OutOfRangeCodesHideEverythingAndStillArmTheComboTimer) {
    show(1, "code:|002|xpos:|5|ypos:|6|");
    clock.advance(20);
    const int combo = w->com_code.list_index();
    for (double code : {11.0, -1.0, 2.5}) {
        SCOPED_TRACE(code);
        panel(code);
        EXPECT_TRUE(visible_panel_controls().empty());
        EXPECT_EQ(w->lbl_info.caption(),
                  "Zu welcher X/Y Position mit dem Mauszeiger gehen? (Enter = Aktuelle Pos.)");
        EXPECT_FALSE(w->Timer_XYPos.enabled());
        EXPECT_TRUE(w->Timer_combobox.enabled());
        clock.advance(10);
        EXPECT_FALSE(w->Timer_combobox.enabled());
        EXPECT_EQ(w->com_code.list_index(), combo);
    }
}

TEST_F(PanelsTest, CursorReadOutRunsOnlyOnThePositionPanels) {
    show(1, "code:|002|xpos:|5|ypos:|6|");
    EXPECT_TRUE(w->Timer_XYPos.enabled());
    show(2, "code:|010|xpos:|5|ypos:|6|break:|0|");
    EXPECT_TRUE(w->Timer_XYPos.enabled());
    platform.cursor = {640, 480};
    clock.advance(10);
    EXPECT_EQ(w->lbl_2_Xpixel.caption(), "X: 640 Pixel");
    show(3, "code:|003|mouseclick:|left|");
    EXPECT_FALSE(w->Timer_XYPos.enabled());
    platform.clear_calls();
    clock.advance(100);
    EXPECT_TRUE(platform.calls_of("get_cursor_pos").empty());
}

TEST_F(PanelsTest, TheComboTickAlignsTheCodeComboAndClearsTheFlags) {
    show(1, "code:|009|pfad:|x.bmp|");
    w->combo_sperre = true;
    EXPECT_TRUE(w->Timer_combobox.enabled());
    clock.advance(10);
    EXPECT_EQ(w->com_code.text(), "Screenshot erzeugen");
    EXPECT_FALSE(w->combo_sperre);
    EXPECT_FALSE(w->laden);
    EXPECT_FALSE(w->Timer_combobox.enabled());
    EXPECT_EQ(w->befehl[1], "code:|009|pfad:|x.bmp|");  // the combo's handler was held off

    show(2, "code:|004|text:|x|");
    w->com_4_eingabebefehl.set_list_index(5);
    w->laden = true;  // a caller that left the flag set has it cleared by the tick
    clock.advance(10);
    EXPECT_EQ(w->com_code.text(), "Tastatur Eingabe");
    EXPECT_EQ(w->com_4_eingabebefehl.text(), "Wähle einen Befehl");
    EXPECT_FALSE(w->laden);
    EXPECT_EQ(code_namen().size(), 10u);
    EXPECT_EQ(w->com_code.items(), code_namen());
}

class DrivePanelTest : public EditorFixture {
  protected:
    void SetUp() override {
        platform.roots = {"C:\\", "D:\\", "E:\\"};
        platform.drive_types = {{"D:\\", 5}, {"E:\\", 5}};
        start();
    }
};

TEST_F(DrivePanelTest, StoredDriveAndMoveAreSelectedWithoutWritingBack) {
    show(1, "code:|008|drive:|E:\\|move:|close|");
    EXPECT_EQ(w->com_8_laufwerk.text(), "E:\\");
    EXPECT_EQ(w->com_8_move.text(), "Einziehen");
    EXPECT_EQ(w->befehl[1], "code:|008|drive:|E:\\|move:|close|");
    // An unknown drive leaves the selection; anything but "close" ejects.
    show(2, "code:|008|drive:|Z:\\|move:|Close|");
    EXPECT_EQ(w->com_8_laufwerk.text(), "E:\\");
    EXPECT_EQ(w->com_8_move.text(), "Auswerfen");
    EXPECT_EQ(w->befehl[2], "code:|008|drive:|Z:\\|move:|Close|");
}

TEST_F(DrivePanelTest, TheDrivePanelRefreshesTheList) {
    show(1, "code:|008|drive:|D:\\|move:|open|");
    w->befehl[1] = "code:|002|xpos:|1|ypos:|2|";  // changed behind the list's back
    panel(8);
    EXPECT_NE(w->lst_code.items()[1].find("xpos: 1"), std::string::npos) << w->lst_code.items()[1];
}

TEST_F(PanelsTest, WithoutDrivesTheDriveCombosAreLeftAlone) {
    ASSERT_TRUE(w->kein_laufwerk);
    const int move = w->com_8_move.list_index();
    show(1, "code:|008|drive:|D:\\|move:|close|");
    EXPECT_EQ(w->com_8_move.list_index(), move);
    EXPECT_EQ(w->com_8_laufwerk.list_index(), -1);
    EXPECT_TRUE(w->com_8_move.visible());
    EXPECT_TRUE(w->com_8_laufwerk.visible());
}

}  // namespace
}  // namespace mavorin
