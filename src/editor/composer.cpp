// Skeleton: replaced by the real implementation.
#include "editor/composer.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
static const SpecialKey kKeys[38] = {{"Wähle einen Befehl",""}};
const SpecialKey* special_keys() { return kKeys; }
void Composer::com_4_eingabebefehl_Click() {  }  // TODO

}  // namespace mavorin
