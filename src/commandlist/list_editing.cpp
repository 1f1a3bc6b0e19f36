// Skeleton: replaced by the real implementation.
#include "commandlist/list_editing.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
void ListEditing::lst_code_MouseDown(int button, int shift, float x, float y) {  }  // TODO
void ListEditing::lst_code_KeyUp(int key, int shift) {  }  // TODO
void ListEditing::lst_code_KeyPress(int ch) {  }  // TODO
void ListEditing::mnucut_Click() {  }  // TODO
void ListEditing::mnucopy_Click() {  }  // TODO
void ListEditing::mnupaste_Click() {  }  // TODO
void ListEditing::mnudelete_Click() {  }  // TODO
void ListEditing::mnuall_Click() {  }  // TODO
void ListEditing::mnudisplay_Click() {  }  // TODO
void ListEditing::entfernte_befehle_leeren() {  }  // TODO

}  // namespace mavorin
