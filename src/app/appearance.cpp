// Window appearance: fading while the pointer is outside, always on top, the logo link.
#include "app/appearance.hpp"

#include "app/frm_mavorin.hpp"

namespace mavorin {

void Appearance::chk_0_transparenz_Click() {
    // Switching off leaves the window at whatever alpha it has.
    w.Timer_transparenz.set_enabled(w.chk_0_transparenz.value() == 1);
}

void Appearance::chk_0_vordergrund_Click() {
    w.platform.set_topmost(w.chk_0_vordergrund.value() == 1);
}

void Appearance::Timer_transparenz_Timer() {
    const Point p = w.platform.get_cursor_pos();
    const TwipRect r = w.platform.window_rect_twips();
    const double tx = w.twips_x > 0 ? w.twips_x : 15, ty = w.twips_y > 0 ? w.twips_y : 15;
    const long long left = round_half_even(r.left / tx);
    const long long right = round_half_even(r.width / tx + left);
    const long long top = round_half_even(r.top / ty);
    const long long bottom = round_half_even(r.height / ty + top);
    // The rectangle's edge counts as outside.
    const bool inside = left < p.x && p.x < right && top < p.y && p.y < bottom;
    int16_t mode = -1;
    if (inside && w.transparent_aktiv != 0)
        mode = 0;
    else if (!inside && w.transparent_aktiv == 0)
        mode = 1;
    if (mode >= 0) fenster_transparenz(mode);
}

void Appearance::fenster_transparenz(int16_t& mode) {
    w.platform.make_layered();
    if (mode != 0 && mode != 1) return;
    const int from = mode == 0 ? 80 : 255;
    const int step = mode == 0 ? 2 : -2;
    for (int k = 0; k < 88; ++k) {
        w.platform.process_pending_events();
        w.platform.set_alpha(from + k * step);
        w.transparent_aktiv = mode == 0 ? 0 : -1;
    }
}

void Appearance::img_vantrellogo_Click() {
    w.platform.open_with_default_handler(kHomePage);
}

}  // namespace mavorin
