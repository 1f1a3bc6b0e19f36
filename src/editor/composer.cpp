// The special-key list: every choice appends its token to the end of the keyboard text.
#include "editor/composer.hpp"

#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

const SpecialKey kKeys[kSpecialKeyCount] = {
    {"Wähle einen Befehl", ""},
    {"Shift", "{SHIFT}"},
    {"Strg", "{CTRL}"},
    {"Alt", "{ALT}"},
    {"Alt Gr", "{ALTGR}"},
    {"Entf", "{DEL}"},
    {"Einfg", "{INS}"},
    {"ESC", "{ESC}"},
    {"Eingabetaste", "{ENTER}"},
    {"Rücktaste", "{BS}"},
    {"TAB", "{TAB}"},
    {"Pfeil oben", "{UP}"},
    {"Pfeil links", "{LEFT}"},
    {"Pfeil rechts", "{RIGHT}"},
    {"Pfeil unten", "{DOWN}"},
    {"Feststelltaste Shift", "{CAPSLOCK}"},
    {"Feststelltaste Nummernblock", "{NUMLOCK}"},
    {"Feststelltaste Rollen", "{SCROLLLOCK}"},
    {"Pause", "{BREAK}"},
    {"Pos1", "{HOME}"},
    {"Ende", "{END}"},
    {"Bild up", "{PGUP}"},
    {"Bild down", "{PGDN}"},
    {"F1", "{F1}"},
    {"F2", "{F2}"},
    {"F3", "{F3}"},
    {"F4", "{F4}"},
    {"F5", "{F5}"},
    {"F6", "{F6}"},
    {"F7", "{F7}"},
    {"F8", "{F8}"},
    {"F9", "{F9}"},
    {"F10", "{F10}"},
    {"F11", "{F11}"},
    {"F12", "{F12}"},
    {"{", "{{}"},
    {"}", "{}}"},
    {"CODE5", "{CODE5}"},
};

}  // namespace

const SpecialKey* special_keys() {
    return kKeys;
}

void Composer::com_4_eingabebefehl_Click() {
    const int i = w.com_4_eingabebefehl.list_index();
    if (i >= 1 && i < kSpecialKeyCount)
        w.txt_4_eingabetext.set_text(w.txt_4_eingabetext.text() + kKeys[i].token);
    // One tick later the list returns to its prompt entry.
    w.Timer_combobox.set_enabled(true);
}

}  // namespace mavorin
