// The command list: navigation, the count box and arrows, cut/copy/paste/delete.
#include <gtest/gtest.h>

#include <initializer_list>

#include "commandlist/command_list.hpp"
#include "fixture.hpp"

namespace mavorin {
namespace {

// A started window holding commands 1..5 as pointer moves to x = 1..5.
class ListTest : public testing::WindowTest {
  protected:
    void five() {
        w = std::make_unique<frm_mavorin>(platform, clock);
        start();
        w->img_befehl_right.click();
        w->img_befehl_right.click();
        for (int i = 1; i <= 5; ++i) w->befehl[i] = rec(i);
        w->command_list.befehlsliste();
    }
    static std::string rec(int x) { return "code:|002|xpos:|" + std::to_string(x) + "|ypos:|0|"; }
    // The x of every command, in order (single digits); -1 for an emptied slot.
    std::vector<int> xs() {
        std::vector<int> v;
        for (int i = 1; i <= w->befehl_anzahl; ++i)
            v.push_back(w->befehl[i].size() > 16 ? w->befehl[i][16] - '0' : -1);
        return v;
    }
    // The lines selected as a user would leave them; the focus is on the first one.
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

using V = std::vector<int>;

TEST_F(ListTest, CutPasteKeepsOrderAndTheBuffer) {
    five();
    click_line(0);  // with the settings record current nothing is cut
    select_only({2});
    w->lst_code.on_key_press(24);  // Ctrl+X
    EXPECT_EQ(xs(), (V{1, 2, 3, 4, 5}));
    click_line(2);
    select_only({2, 4});
    w->mnucut.click();
    EXPECT_EQ(xs(), (V{1, 3, 5}));
    EXPECT_EQ(w->txt_befehle.text(), "3");
    click_line(1);
    w->mnupaste.click();
    EXPECT_EQ(xs(), (V{1, 2, 4, 3, 5}));
    select_only({1});
    w->mnupaste.click();
    EXPECT_EQ(xs(), (V{1, 2, 4, 2, 4, 3, 5}));
    select_only({0});
    w->mnupaste.click();
    EXPECT_EQ(xs(), (V{2, 4, 1, 2, 4, 2, 4, 3, 5}));

    five();
    click_line(5);
    w->lst_code.on_key_press(3);  // Ctrl+C
    select_only({5});             // Ctrl+V after the last command appends
    w->lst_code.on_key_press(22);
    EXPECT_EQ(xs(), (V{1, 2, 3, 4, 5, 5}));
}

TEST_F(ListTest, DeleteKeepsTheSettingsAndCommandOne) {
    five();
    click_line(5);
    w->lst_code.on_key_up(46, 0);  // Del on the current last command
    EXPECT_EQ(xs(), (V{1, 2, 3, 4}));
    EXPECT_EQ(w->txt_2_x.text(), "4");  // the editor shows the command that is current now
    EXPECT_TRUE(w->befehl[5].empty());  // deleted records are gone, not kept above the count
    w->lst_code.on_key_press(1);        // Ctrl+A leaves the settings line out
    EXPECT_FALSE(w->lst_code.selected(0));
    w->lst_code.on_key_up(46, 0);
    EXPECT_EQ(xs(), (V{1}));
    EXPECT_EQ(w->befehl_aktuell, 1);

    five();
    click_line(2);
    select_only({0, 2});  // with the settings line selected nothing goes
    w->mnudelete.click();
    EXPECT_EQ(w->befehl_anzahl, 5);
}

TEST_F(ListTest, PasteAndInsertStopAtTheListLimit) {
    five();
    select_only({2, 4});
    w->lst_code.on_key_press(14);  // Ctrl+N inserts a copy of the first selected command
    EXPECT_EQ(xs(), (V{1, 2, 2, 3, 4, 5}));
    click_line(1);
    w->lst_code.on_key_press(1);
    w->lst_code.on_key_press(3);  // six commands in the buffer
    w->txt_befehle.set_text("994");
    select_only({1});
    w->mnupaste.click();  // 994 + 6 would pass 999
    EXPECT_EQ(w->befehl_anzahl, 994);
    w->txt_befehle.set_text("993");
    select_only({993});
    w->mnupaste.click();
    EXPECT_EQ(w->befehl_anzahl, 999);
    EXPECT_EQ(w->lst_code.items()[999], "999 - code: 002 xpos: 5 ypos: 0 ");
    w->mnunewcommand.click();
    EXPECT_EQ(w->befehl_anzahl, 999);
}

TEST_F(ListTest, CountBoxCorrectsAndBringsRemovedCommandsBack) {
    five();
    w->txt_befehle.set_text("40000");
    EXPECT_EQ(w->txt_befehle.text(), "32000");
    EXPECT_EQ(w->befehl_anzahl, 32000);
    w->txt_befehle.set_text("4.5");  // a whole number, halves to the even one
    EXPECT_EQ(w->befehl_anzahl, 4);
    w->txt_befehle.set_text("5");  // typing brings the removed commands back
    EXPECT_EQ(xs(), (V{1, 2, 3, 4, 5}));
    for (const char* bad : {"0", "", "abc"}) {
        w->txt_befehle.set_text(bad);
        EXPECT_EQ(w->befehl_anzahl, 5) << bad;
    }
}

}  // namespace
}  // namespace mavorin
