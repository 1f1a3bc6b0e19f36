// Editor panels: which controls show for a code, the prompt, and filling the fields from a record.
#pragma once

#include <string>
#include <vector>

namespace mavorin {

class frm_mavorin;
namespace form {
class Control;
}

// The entries of com_code, item k-1 standing for code k.
const std::vector<std::string>& code_names();

class Panels {
  public:
    explicit Panels(frm_mavorin& w) : w(w) {}
    void codesichtbar();
    void Timer_combobox_Timer();
    // The controls of a code's panel in the order they are made visible (empty for other codes).
    std::vector<form::Control*> panel_controls(int code);
    // Every panel control once, in the order codesichtbar hides them.
    std::vector<form::Control*> hide_order();
    // Gives each panel text box and combo that has no handler of its own the plain write-back
    // of its row's record, so that a new code needs no handler for plain fields.
    void wire_plain_fields();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
