// Skeleton: replaced by the real implementation.
#include "document/macro_file.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
bool read_lines(const std::string&, std::vector<std::string>&, size_t) { return false; }
void MacroFile::cmd_save_Click() {  }  // TODO
void MacroFile::cmd_save2_Click() {  }  // TODO
void MacroFile::cmd_load_Click() {  }  // TODO
void MacroFile::cmd_load2_Click() {  }  // TODO
void MacroFile::lst_code_OLEDragDrop(const std::vector<std::string>& files) {  }  // TODO
void MacroFile::beginn_lesedatei() {  }  // TODO
void MacroFile::parameter_lesedatei() {  }  // TODO
bool MacroFile::read_header() { return false; }  // TODO

}  // namespace mavorin
