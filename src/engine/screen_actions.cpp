// Screenshot to BMP or JPEG, and the pixel watch that holds the macro until a block changes.
#include "engine/screen_actions.hpp"

#include <algorithm>
#include <climits>

#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

constexpr const char* kSnapshot = "code10.bmp";
constexpr int kPollsPerUnit = 20;

}  // namespace

ScreenshotTarget screenshot_target(const std::string& p) {
    ScreenshotTarget t;
    if (p.size() <= 3) return t;
    t.save = true;
    const size_t lt = p.find('<');
    std::string name = lt == std::string::npos ? p : p.substr(0, lt);
    double q = lt == std::string::npos ? 0 : wert_aus_text(p.substr(lt + 1, 3));
    long long quality = round_half_even(q);
    if (quality > 100 || quality == 0)
        quality = 100;
    else if (quality < 10)
        quality = 10;
    t.quality = static_cast<int>(quality);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    t.file = name;
    t.jpeg = name.size() >= 4 && name.compare(name.size() - 4, 4, ".jpg") == 0;
    return t;
}

void ScreenActions::Save_JPG(const Bitmap& pict, const std::string& FileName, int quality) {
    const int status = w.platform.save_jpeg(pict, FileName, quality);
    if (status != 0) {
        SaveJpgError e("Speicherung des Bildes fehlgeschlagen. GDI+ Error:" +
                       std::to_string(status));
        throw e;
    }
}

void ScreenActions::screenshot() {
    const int i = w.befehl_aktuell;
    w.befehl_wert1[i] = w.input.replace_code5(without_bars(w.befehl_wert1[i]));
    const std::string path = w.befehl_wert1[i];
    w.pic_screenshot = w.platform.capture_screen();
    const ScreenshotTarget t = screenshot_target(path);
    if (!t.save) return;
    if (t.jpeg)
        Save_JPG(w.pic_screenshot, t.file, t.quality);
    else
        w.platform.save_bmp(w.pic_screenshot, t.file);
}

void ScreenActions::pixel_watch() {
    frm_mavorin& f = w;
    const int i = f.befehl_aktuell;
    if (f.pixel_status == 0) f.pixel_status = 1;
    const int x = static_cast<int>(round_half_even(wert_aus_text(f.befehl_wert1[i])));
    const int y = static_cast<int>(round_half_even(wert_aus_text(f.befehl_wert2[i])));
    f.pic_pixel = f.platform.capture_region(x, y, 5, 5);
    f.platform.save_bmp(f.pic_pixel, kSnapshot);
    if (f.pixel_status == 1) {
        if (f.platform.file_exists(kSnapshot)) {
            f.platform.read_first_field(kSnapshot, f.pixel_referenz);
            f.pixel_status = 2;
            f.pixel_takte = 0;
            f.pixel_sekunden = 0;
            f.Timer_start.set_interval(10);
        }
        return;
    }
    if (f.pixel_status != 2) return;
    f.pixel_takte += 1;
    if (f.pixel_takte >= kPollsPerUnit) {
        f.pixel_sekunden += 1;
        f.pixel_takte = 0;
    }
    f.Timer_start.set_interval(10);
    if (f.platform.file_exists(kSnapshot)) {
        f.platform.read_first_field(kSnapshot, f.pixel_vergleich);
    } else {
        f.pixel_status = 0;
    }
    const double limit = wert_aus_text(f.befehl_wert3[i]);
    if (limit != 0 && f.pixel_sekunden >= limit) {
        f.Timer_start.set_interval(static_cast<long>(round_half_even(f.wartezeit)));
        f.pixel_status = 0;
    }
    if (f.pixel_vergleich != f.pixel_referenz) {
        f.Timer_start.set_interval(static_cast<long>(round_half_even(f.wartezeit)));
        f.pixel_status = 0;
    }
}

}  // namespace mavorin
