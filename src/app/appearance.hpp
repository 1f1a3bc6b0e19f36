// Window appearance: transparency that follows the pointer, always on top, the logo link.
#pragma once

#include <cstdint>

namespace mavorin {

class frm_mavorin;

inline constexpr const char* kHomePage = "https://mavorin.org/";

class Appearance {
  public:
    explicit Appearance(frm_mavorin& w) : w(w) {}
    void chk_0_transparenz_Click();
    void chk_0_vordergrund_Click();
    void Timer_transparenz_Timer();
    void fenster_transparenz(int16_t& mode);
    void img_vantrellogo_Click();

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
