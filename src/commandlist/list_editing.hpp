// Editing in the list box: popup menu, keys, the copy buffer, select all, tall or compact.
#pragma once

namespace mavorin {

class frm_mavorin;

class ListEditing {
  public:
    explicit ListEditing(frm_mavorin& w) : w(w) {}
    void lst_code_MouseDown(int button, int shift, float x, float y);
    void lst_code_KeyUp(int key, int shift);
    void lst_code_KeyPress(int ch);
    void mnucut_Click();
    void mnucopy_Click();
    void mnupaste_Click();
    void mnudelete_Click();
    void mnuall_Click();
    void mnudisplay_Click();
    void entfernte_befehle_leeren();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
