// A started window holding five distinguishable commands, with helpers to select list lines.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "fixture.hpp"

namespace mavorin::testing {

class ListTest : public WindowTest {
  protected:
    // A fresh window with commands A..E as pointer moves to x = 1..5.
    void five() {
        w = std::make_unique<frm_mavorin>(platform, clock);
        start();
        w->img_befehl_right.click();
        w->img_befehl_right.click();
        for (int i = 1; i <= 5; ++i) w->befehl[i] = rec(i);
        w->liste.befehlsliste();
    }
    static std::string rec(int x) { return "code:|002|xpos:|" + std::to_string(x) + "|ypos:|0|"; }
    // The x of every command, in order (single digits).
    std::vector<int> xs() {
        std::vector<int> v;
        for (int i = 1; i <= w->befehl_anzahl; ++i) v.push_back(w->befehl[i][16] - '0');
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

}  // namespace mavorin::testing
