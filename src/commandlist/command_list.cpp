// Skeleton: replaced by the real implementation.
#include "commandlist/command_list.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
std::string listenzeile(int, const std::string&) { return {}; }
void CommandList::befehlsliste() {  }  // TODO
void CommandList::hsc_befehle_Change() {  }  // TODO
void CommandList::txt_befehle_Change() {  }  // TODO
void CommandList::txt_befehle_LostFocus() {  }  // TODO
void CommandList::img_befehl_right_Click() {  }  // TODO
void CommandList::img_befehl_left_Click() {  }  // TODO
void CommandList::mnunewcommand_Click() {  }  // TODO
void CommandList::codebox_auswahlclick() {  }  // TODO
void CommandList::com_code_Click() {  }  // TODO
void CommandList::chk_0_listbox_Click() {  }  // TODO
void CommandList::set_count(int n) {  }  // TODO

}  // namespace mavorin
