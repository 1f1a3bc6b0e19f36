// The list box, navigation, the count box, arrows, insert-copy, the code combo; list editing.
#include <gtest/gtest.h>

#include "fixture.hpp"

namespace mavorin {
namespace {

class ListTest : public testing::WindowTest {
  protected:
    // Commands A..E as pointer moves to x = 1..5.
    void five() {
        w = std::make_unique<frm_mavorin>(platform, clock);
        start();
        w->img_befehl_right.click();
        w->img_befehl_right.click();
        for (int i = 1; i <= 5; ++i) w->befehl[i] = rec(i);
        w->liste.befehlsliste();
    }
    static std::string rec(int x) { return "code:|002|xpos:|" + std::to_string(x) + "|ypos:|0|"; }
    std::vector<int> xs() {
        std::vector<int> v;
        for (int i = 1; i <= w->befehl_anzahl; ++i) v.push_back(w->befehl[i][16] - '0');
        return v;
    }
    void select_only(std::initializer_list<int> lines) {
        for (int i = 0; i < w->lst_code.list_count(); ++i) w->lst_code.set_selected(i, false);
        for (int l : lines) w->lst_code.set_selected(l, true);
        w->lst_code.set_list_index(*lines.begin());
    }
    void click_line(int line) {
        select_only({line});
        w->lst_code.on_mouse_down(1, 0, 0, 0);
    }
};

TEST_F(ListTest, LinesFollowThePatternAndTheCap) {
    start();
    w->txt_befehle.set_text("1200");
    EXPECT_EQ(w->lst_code.list_count(), 1000);
    EXPECT_EQ(w->lst_code.items()[999].substr(0, 6), "999 - ");
    EXPECT_EQ(w->lst_code.items()[7].substr(0, 6), "007 - ");
    w->hsc_befehle.set_value(1100);
    EXPECT_EQ(w->befehl_aktuell, 1100);
    EXPECT_EQ(w->lst_code.selected_count(), 0);  // command 1100 is not shown
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "1100");
    EXPECT_TRUE(w->com_code.visible());
    EXPECT_FALSE(w->com_code0.visible());
}

TEST_F(ListTest, CountBoxCorrectsAndBringsRemovedCommandsBack) {
    five();
    w->txt_befehle.set_text("40000");
    EXPECT_EQ(w->txt_befehle.text(), "32000");
    EXPECT_EQ(w->befehl_anzahl, 32000);
    w->txt_befehle.set_text("5");
    for (const char* bad : {"0", "", "abc"}) {
        w->txt_befehle.set_text(bad);
        EXPECT_EQ(w->befehl_anzahl, 5);
    }
    w->txt_befehle.lose_focus();
    EXPECT_EQ(w->txt_befehle.text(), "1");
    EXPECT_EQ(w->befehl_anzahl, 1);

    w->txt_befehle.set_text("5");  // typing brings the removed commands back
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 3, 4, 5}));
    w->txt_befehle.set_text("3");
    w->img_befehl_right.click();  // the arrow writes fresh records instead
    w->img_befehl_right.click();
    EXPECT_EQ(w->befehl[4], "code:|001|wait:|0|");
    EXPECT_EQ(w->befehl[5], "code:|001|wait:|0|");
}

TEST_F(ListTest, LeftArrowMovesTheCurrentCommandDown) {
    five();
    w->hsc_befehle.set_value(5);
    w->img_befehl_left.click();
    EXPECT_EQ(w->befehl_anzahl, 4);
    EXPECT_EQ(w->befehl_aktuell, 4);
    EXPECT_EQ(w->txt_2_x.text(), "4");  // the new current command's own values
    w->txt_befehle.set_text("1");
    w->img_befehl_left.click();  // nothing below 1
    EXPECT_EQ(w->befehl_anzahl, 1);
}

TEST_F(ListTest, InsertCopyDuplicatesTheFirstSelectedCommand) {
    five();
    select_only({3});
    w->mnunewcommand.click();
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 3, 3, 4, 5}));
    five();
    select_only({0});
    w->mnunewcommand.click();
    EXPECT_EQ(xs(), (std::vector<int>{1, 1, 2, 3, 4, 5}));
    five();
    select_only({2, 4});
    w->mnunewcommand.click();
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 2, 3, 4, 5}));
}

TEST_F(ListTest, ChoosingLinesAndCodes) {
    five();
    click_line(2);
    EXPECT_EQ(w->befehl_aktuell, 2);
    EXPECT_EQ(w->hsc_befehle.value(), 2);
    EXPECT_TRUE(w->txt_2_x.visible());
    EXPECT_EQ(w->txt_2_x.text(), "2");
    select_only({2, 4});  // a second line with a modifier keeps the current command
    w->lst_code.on_mouse_down(1, 2, 0, 0);
    EXPECT_EQ(w->befehl_aktuell, 2);
    click_line(3);
    clock.advance(20);
    w->com_code.set_text("Pixel Veränderung");
    EXPECT_EQ(w->befehl[3], "code:|010|xpos:|0|ypos:|0|break:|0|");
    EXPECT_TRUE(w->txt_10_abbruch.visible());
    w->chk_0_listbox.set_value(0);
    EXPECT_FALSE(w->lst_code.visible());
}

TEST_F(ListTest, CutPasteKeepsOrderAndTheBuffer) {
    five();
    click_line(2);
    select_only({2, 4});
    w->mnucut.click();
    EXPECT_EQ(xs(), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(w->txt_befehle.text(), "3");
    click_line(1);
    w->mnupaste.click();
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 4, 3, 5}));
    select_only({1});
    w->mnupaste.click();
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 4, 2, 4, 3, 5}));
    select_only({0});
    w->mnupaste.click();
    EXPECT_EQ(xs(), (std::vector<int>{2, 4, 1, 2, 4, 2, 4, 3, 5}));
}

TEST_F(ListTest, DeleteNeverRemovesTheSettingsOrTheLastCommand) {
    five();
    w->lst_code.on_key_press(1);  // Ctrl+A
    EXPECT_EQ(w->befehl_aktuell, 1);
    EXPECT_FALSE(w->lst_code.selected(0));
    w->lst_code.on_key_up(46, 0);  // Del
    EXPECT_EQ(w->befehl_anzahl, 1);
    EXPECT_EQ(xs(), (std::vector<int>{1}));
    EXPECT_EQ(w->befehl_aktuell, 1);

    five();
    click_line(2);
    select_only({0, 2});
    w->mnudelete.click();
    EXPECT_EQ(w->befehl_anzahl, 5);
}

TEST_F(ListTest, PasteRefusesToPassTheListLimit) {
    five();
    click_line(1);
    w->lst_code.on_key_press(1);
    w->lst_code.on_key_press(3);  // copy all five
    w->txt_befehle.set_text("995");
    select_only({1});
    w->mnupaste.click();
    EXPECT_EQ(w->befehl_anzahl, 995);
}

TEST_F(ListTest, PopupEnabledStatesAndListSize) {
    five();
    select_only({0});
    w->lst_code.on_mouse_down(2, 0, 0, 0);
    EXPECT_EQ(w->mnulistboxcode.popup_count(), 1);
    EXPECT_FALSE(w->mnucut.enabled());
    EXPECT_FALSE(w->mnucopy.enabled());
    EXPECT_FALSE(w->mnudelete.enabled());
    EXPECT_FALSE(w->mnupaste.enabled());
    EXPECT_EQ(w->lst_code.selected_count(), 1);  // the popup leaves the selection alone
    click_line(2);
    w->lst_code.on_key_press(3);
    w->txt_befehle.set_text("1");
    select_only({1});
    w->lst_code.on_mouse_down(2, 0, 0, 0);
    EXPECT_TRUE(w->mnucopy.enabled());
    EXPECT_FALSE(w->mnucut.enabled());
    EXPECT_FALSE(w->mnudelete.enabled());
    EXPECT_TRUE(w->mnupaste.enabled());

    w->mnudisplay.click();
    EXPECT_EQ(w->lst_code.height(), 268);
    EXPECT_EQ(w->form.height_twips(), 9619);
    EXPECT_EQ(w->mnudisplay.caption(), "Weniger anzeigen");
    w->lst_code.on_key_press(4);
    EXPECT_EQ(w->lst_code.height(), 134);
    EXPECT_EQ(w->mnudisplay.caption(), "Mehr anzeigen");
}

}  // namespace
}  // namespace mavorin
