// The command list: the list box, navigation by scroll bar, count box and arrows, the code combo.
#pragma once

#include <string>

namespace mavorin {

class frm_mavorin;

// The list-box line of slot i: "00 - code: 000 ...", "003 - code: 001 wait: 0 ".
std::string list_line(int index, const std::string& record);

class CommandList {
  public:
    explicit CommandList(frm_mavorin& w) : w(w) {}
    void befehlsliste();
    void hsc_befehle_Change();
    void txt_befehle_Change();
    void txt_befehle_LostFocus();
    void img_befehl_right_Click();
    void img_befehl_left_Click();
    void mnunewcommand_Click();
    void codebox_auswahlclick();
    void com_code_Click();
    void chk_0_listbox_Click();

    // Sets the count box, scroll bar maximum, max label and `befehl_anzahl` to n.
    void set_count(int n);

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
