// Skeleton: replaced by the real implementation.
#include "app/appearance.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
void Appearance::chk_0_transparenz_Click() {  }  // TODO
void Appearance::chk_0_vordergrund_Click() {  }  // TODO
void Appearance::Timer_transparenz_Timer() {  }  // TODO
void Appearance::fenster_transparenz(int16_t& mode) {  }  // TODO
void Appearance::img_vantrellogo_Click() {  }  // TODO

}  // namespace mavorin
