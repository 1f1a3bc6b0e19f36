// Editing in the command list: popup states, keys, cut/copy/paste/delete, select all, list size.
#include <gtest/gtest.h>

#include "list_fixture.hpp"

namespace mavorin {
namespace {

using testing::ListTest;

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

TEST_F(ListTest, CopyAndCutNeedACommandCurrent) {
    five();
    click_line(0);  // the settings record is current
    select_only({2});
    w->lst_code.on_key_press(3);   // Ctrl+C
    w->lst_code.on_key_press(24);  // Ctrl+X
    EXPECT_TRUE(w->befehl_kopie[0].empty());
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 3, 4, 5}));

    click_line(3);
    w->lst_code.on_key_press(3);
    EXPECT_EQ(w->befehl_kopie[0], rec(3));
    EXPECT_TRUE(w->befehl_kopie[1].empty());
    select_only({1, 2});  // a new copy replaces the whole buffer
    w->lst_code.on_key_press(3);
    EXPECT_EQ(w->befehl_kopie[0], rec(1));
    EXPECT_EQ(w->befehl_kopie[1], rec(2));
    EXPECT_TRUE(w->befehl_kopie[2].empty());
    EXPECT_FALSE(w->laden);
}

TEST_F(ListTest, DeletingTheCurrentLastCommandMovesTheEditorDown) {
    five();
    click_line(5);
    w->lst_code.on_key_up(46, 0);
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(w->befehl_aktuell, 4);
    EXPECT_EQ(w->lbl_hscaktuell.caption(), "4");
    EXPECT_EQ(w->hsc_befehle.max(), 4);
    EXPECT_EQ(w->lbl_hscmax.caption(), "4");
    EXPECT_EQ(w->txt_2_x.text(), "4");  // the editor shows the command that is current now
    EXPECT_TRUE(w->lst_code.selected(4));
    EXPECT_TRUE(w->befehl[5].empty());  // deleted records are gone, not kept above the count
    EXPECT_FALSE(w->laden);
}

TEST_F(ListTest, PasteEmptiesRemovedCommandsFirst) {
    five();
    w->txt_befehle.set_text("3");  // commands 4 and 5 are removed but still held
    select_only({1});
    w->mnupaste.click();  // an empty buffer: only the removed commands go
    EXPECT_EQ(w->befehl_anzahl, 3);
    EXPECT_TRUE(w->befehl[4].empty());
    w->txt_befehle.set_text("5");
    EXPECT_EQ(w->befehl[4], "code:|001|wait:|0|");
    EXPECT_EQ(w->befehl[5], "code:|001|wait:|0|");

    five();
    click_line(5);
    w->lst_code.on_key_press(3);
    select_only({5});  // pasting after the last command appends
    w->lst_code.on_key_press(22);
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 3, 4, 5, 5}));
    EXPECT_EQ(w->lst_code.list_count(), 7);
}

TEST_F(ListTest, NavigationKeysAndButtonsChooseTheCurrentCommand) {
    five();
    select_only({4});
    w->lst_code.on_key_up(40, 0);  // arrow down, released on line 4
    EXPECT_EQ(w->befehl_aktuell, 4);
    EXPECT_TRUE(w->txt_2_x.visible());
    EXPECT_EQ(w->txt_2_x.text(), "4");
    select_only({0});
    w->lst_code.on_key_up(36, 0);  // Home
    EXPECT_EQ(w->befehl_aktuell, 0);
    EXPECT_TRUE(w->com_code0.visible());
    EXPECT_TRUE(w->txt_0_wait.visible());

    select_only({2});
    w->lst_code.on_key_up(65, 0);           // a letter does nothing
    w->lst_code.on_mouse_down(4, 0, 0, 0);  // nor does the middle button
    EXPECT_EQ(w->befehl_aktuell, 0);
    w->lst_code.on_key_press(14);  // Ctrl+N inserts a copy of the selected command
    EXPECT_EQ(xs(), (std::vector<int>{1, 2, 2, 3, 4, 5}));
    EXPECT_FALSE(w->laden);
}

TEST_F(ListTest, PasteFillsTheListExactlyToItsLimit) {
    five();
    click_line(1);
    w->lst_code.on_key_press(1);
    w->lst_code.on_key_press(3);  // five commands in the buffer
    w->txt_befehle.set_text("994");
    select_only({994});
    w->mnupaste.click();  // 994 + 5 = 999 still fits
    EXPECT_EQ(w->befehl_anzahl, 999);
    EXPECT_EQ(w->befehl[999], rec(5));
    EXPECT_EQ(w->lst_code.items()[999], "999 - code: 002 xpos: 5 ypos: 0 ");
    w->mnunewcommand.click();  // inserting a copy stops at 999 as well
    EXPECT_EQ(w->befehl_anzahl, 999);
}

}  // namespace
}  // namespace mavorin
