// Skeleton: replaced by the real implementation.
#include "engine/system_actions.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
void SystemActions::programm_oeffnen() {  }  // TODO
void SystemActions::pc_befehl() {  }  // TODO
void SystemActions::cd_laufwerk() {  }  // TODO
void SystemActions::laufwerke_einlesen() {  }  // TODO

}  // namespace mavorin
