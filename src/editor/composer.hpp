// The special-key list of the keyboard panel: each entry appends its token to the text.
#pragma once

#include <string>

namespace mavorin {

class frm_mavorin;

struct SpecialKey {
    const char* entry;  // list entry
    const char* token;  // appended text ("" for the prompt entry)
};
// The 38 entries, index 0 being "Wähle einen Befehl".
const SpecialKey* special_keys();
inline constexpr int kSpecialKeyCount = 38;

class Composer {
  public:
    explicit Composer(frm_mavorin& w) : w(w) {}
    void com_4_eingabebefehl_Click();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
