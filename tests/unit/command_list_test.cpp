// The list box, navigation, the count box, arrows, insert-copy, the code combo.
#include "commandlist/command_list.hpp"

#include <gtest/gtest.h>

#include "list_fixture.hpp"

namespace mavorin {
namespace {

using testing::ListTest;

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
    w->txt_befehle.set_text("-5");  // ignored by the box; the arrow must not go below 1
    w->img_befehl_right.click();
    EXPECT_EQ(w->befehl_anzahl, 1);
    w->txt_befehle.set_text("1E300");  // typed: corrected to the largest count
    EXPECT_EQ(w->txt_befehle.text(), "32000");
    w->img_befehl_left.click();
    EXPECT_EQ(w->befehl_anzahl, 31999);
    w->laden = true;  // set from code without the correction: no count that large, no change
    w->txt_befehle.set_text("1E300");
    w->laden = false;
    w->img_befehl_left.click();
    EXPECT_EQ(w->befehl_anzahl, 31999);
}

TEST(ListLine, NumberPatternAndBars) {
    EXPECT_EQ(listenzeile(0, "code:|000|wait:|500|"), "00 - code: 000 wait: 500 ");
    EXPECT_EQ(listenzeile(3, "code:|001|wait:|0|"), "003 - code: 001 wait: 0 ");
    EXPECT_EQ(listenzeile(42, ""), "042 - ");
    EXPECT_EQ(listenzeile(1000, "a|b"), "1000 - a b");
    EXPECT_EQ(listenzeile(32000, "|"), "32000 -  ");
}

TEST_F(ListTest, FractionalCountsAndAnEmptyCodeChoice) {
    five();
    w->txt_befehle.set_text("4.5");  // the count is a whole number, halves to the even one
    EXPECT_EQ(w->befehl_anzahl, 4);
    EXPECT_EQ(w->hsc_befehle.max(), 4);
    w->txt_befehle.set_text("3.7");
    EXPECT_EQ(w->befehl_anzahl, 4);
    EXPECT_EQ(w->lbl_hscmax.caption(), "4");

    click_line(2);
    clock.advance(20);
    w->com_code.set_list_index(-1);  // no entry chosen: the record keeps its code
    EXPECT_EQ(w->befehl[2], rec(2));
    EXPECT_FALSE(w->laden);
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

}  // namespace
}  // namespace mavorin
