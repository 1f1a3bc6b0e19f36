// Skeleton: replaced by the real implementation.
#include "app/startup.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
void Startup::Form_Load() {  }  // TODO
void Startup::cmd_neu_Click() {  }  // TODO
void Startup::Form_Unload() {  }  // TODO
void Startup::form_eigenschaften() {  }  // TODO
void Startup::apply_background(unsigned color) {  }  // TODO

}  // namespace mavorin
