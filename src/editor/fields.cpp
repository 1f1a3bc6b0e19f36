// Field handlers: each edit is corrected where the field has a rule and written back at once.
#include "editor/fields.hpp"

#include <algorithm>
#include <vector>

#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

const HotKey kStart[kHotKeyCount] = {
    {"no", "&H7C"},  {"F1", "&H70"},  {"F2", "&H71"}, {"F3", "&H72"}, {"F4", "&H73"},
    {"F5", "&H74"},  {"F6", "&H75"},  {"F7", "&H76"}, {"F8", "&H77"}, {"F9", "&H78"},
    {"F10", "&H79"}, {"F11", "&H7A"}, {"F12", "&H7B"}};
const HotKey kAbortKeys[kHotKeyCount] = {
    {"ESC", "&H1B"}, {"F1", "&H70"},  {"F2", "&H71"}, {"F3", "&H72"}, {"F4", "&H73"},
    {"F5", "&H74"},  {"F6", "&H75"},  {"F7", "&H76"}, {"F8", "&H77"}, {"F9", "&H78"},
    {"F10", "&H79"}, {"F11", "&H7A"}, {"F12", "&H7B"}};

constexpr int kVkEnter = 13;

// Replaces the field's text by the corrected one when a rule applies; the assignment re-runs
// the field's handler.
void clamp(TextBox& box, double low, double high) {
    const double v = wert_aus_text(box.text());
    if (v > high)
        box.set_text(number_text(high));
    else if (v < low)
        box.set_text(number_text(low));
}

void strip_bars(TextBox& box) {
    if (!box.text().empty() && box.text().find('|') != std::string::npos)
        box.set_text(without_bars(box.text()));
}

// Byte offsets of the characters of a UTF-8 text, so that positions count characters.
std::vector<size_t> char_starts(const std::string& s) {
    std::vector<size_t> v;
    for (size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 || v.empty()) v.push_back(i);
    return v;
}

// The last n characters when the first of them is "." (an extension), else "".
std::string last_chars_if_extension(const std::string& s, size_t n) {
    const auto starts = char_starts(s);
    if (starts.size() < n || s[starts[starts.size() - n]] != '.') return {};
    return s.substr(starts[starts.size() - n]);
}

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

const HotKey* start_hotkeys() {
    return kStart;
}
const HotKey* abort_hotkeys() {
    return kAbortKeys;
}

void Fields::write_record(int code) {
    w.code_aktuell = code;
    w.records.schreibebefehl();
    w.records.befehl_aktuellencode();
}

void Fields::txt_0_wait_Change() {
    if (w.laden || w.running()) return;
    clamp(w.txt_0_wait, 0, 60000);
    write_record(0);
}

void Fields::txt_0_wait_LostFocus() {
    // The pause minimum applies to the user's own edits too: a pause below 10 ms is never run,
    // so the field should not pretend otherwise.
    if (w.befehl_aktuell != 0 || w.running()) return;
    if (wert_aus_text(w.txt_0_wait.text()) < 10) w.txt_0_wait.set_text("10");
}

void Fields::txt_0_loop_Change() {
    if (w.laden || w.running()) return;
    write_record(0);
}

void Fields::txt_0_loop_LostFocus() {
    if (w.laden || w.befehl_aktuell != 0) return;
    if (wert_aus_text(w.txt_0_loop.text()) < 1) w.txt_0_loop.set_text("0");
}

void Fields::txt_1_random1_Change() {
    if (w.laden) return;
    if (!w.running()) {
        clamp(w.txt_1_random1, 0, 60000);
        write_record(1);
    }
    const double from = wert_aus_text(w.txt_1_random1.text());
    if (wert_aus_text(w.txt_1_random2.text()) < from) {
        w.txt_1_random2.set_text(number_text(from));
        write_record(1);
    }
}

void Fields::txt_1_random2_Change() {
    if (w.laden) return;
    if (!w.running()) {
        clamp(w.txt_1_random2, 0, 60000);
        write_record(1);
    }
    const double to = wert_aus_text(w.txt_1_random2.text());
    if (to < wert_aus_text(w.txt_1_random1.text())) {
        w.txt_1_random1.set_text(number_text(to));
        write_record(1);
    }
}

void Fields::txt_2_x_Change() {
    if (w.laden || w.running()) return;
    write_record(2);
}

void Fields::txt_2_y_Change() {
    if (w.laden || w.running()) return;
    write_record(2);
}

void Fields::opt_3_click_Click(int) {
    if (w.laden || w.running()) return;
    write_record(3);
}

void Fields::txt_4_eingabetext_Change() {
    if (w.laden || w.running()) return;
    strip_bars(w.txt_4_eingabetext);
    write_record(4);
}

void Fields::txt_5_start_Change() {
    if (w.laden || w.running()) return;
    write_record(5);
}

void Fields::txt_5_hochzählen_Change() {
    if (w.laden || w.running()) return;
    write_record(5);
}

void Fields::txt_6_pfad_Change() {
    if (w.laden || w.running()) return;
    strip_bars(w.txt_6_pfad);
    write_record(6);
}

void Fields::opt_7_pc_Click(int) {
    if (w.laden || w.running()) return;
    write_record(7);
}

void Fields::com_8_laufwerk_Click() {
    if (w.laden || w.combo_sperre || w.running()) return;
    write_record(8);
}

void Fields::com_8_move_Click() {
    if (w.laden || w.combo_sperre || w.running()) return;
    write_record(8);
}

void Fields::txt_9_pfad_Change() {
    if (w.laden || w.running()) return;
    strip_bars(w.txt_9_pfad);
    write_record(9);
}

void Fields::txt_10_x_Change() {
    if (w.laden || w.running()) return;
    write_record(kPixelWatchCode);
}

void Fields::txt_10_y_Change() {
    if (w.laden || w.running()) return;
    write_record(kPixelWatchCode);
}

void Fields::txt_10_abbruch_Change() {
    if (w.laden || w.running()) return;
    if (wert_aus_text(w.txt_10_abbruch.text()) < 0) w.txt_10_abbruch.set_text("0");
    write_record(kPixelWatchCode);
}

void Fields::com_0_startcode_Click() {
    if (w.running()) return;
    w.code_aktuell = 0;
    const int i = w.com_0_startcode.list_index();
    if (i >= 0 && i < kHotKeyCount) {
        w.startcode = kStart[i].code;
        w.startname = kStart[i].entry;
    }
    w.records.schreibebefehl();
}

void Fields::com_0_abbruchcode_Click() {
    if (w.running()) return;
    w.code_aktuell = 0;
    const int i = w.com_0_abbruchcode.list_index();
    if (i >= 0 && i < kHotKeyCount) {
        w.abbruchcode = kAbortKeys[i].code;
        w.abbruchname = kAbortKeys[i].entry;
    }
    w.records.schreibebefehl();
}

void Fields::cmd_6_pfad_Click() {
    const std::string name = w.platform.open_file_dialog(".exe|*.exe|.bat|*.bat", "");
    if (!name.empty()) w.txt_6_pfad.set_text(name);
}

void Fields::cmd_9_pfad_Click() {
    std::string s = w.txt_9_pfad.text();
    // A quality marker " <90%>" goes, with the character before it.
    if (ends_with(s, ">")) {
        const size_t lt = s.rfind('<');
        if (lt != std::string::npos) {
            const auto starts = char_starts(s);
            // Position of the last "<" in characters, counted from 1.
            const size_t p =
                std::lower_bound(starts.begin(), starts.end(), lt) - starts.begin() + 1;
            s = p >= 3 ? s.substr(0, starts[p - 2]) : std::string();
        }
    }
    std::string ext = last_chars_if_extension(s, 4);
    s.erase(s.size() - ext.size());
    const std::string chosen =
        w.platform.save_file_dialog("BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg", s);
    if (chosen.empty()) return;
    s = chosen + ext;
    // "b.bmp" chosen over an old ".jpg" keeps only the chosen extension.
    const auto starts = char_starts(s);
    const size_t n = starts.size();
    if (n >= 8 && s[starts[n - 4]] == '.' && s[starts[n - 8]] == '.') s.erase(starts[n - 4]);
    if (ends_with(s, ".jpg")) s += " <90%>";
    w.txt_9_pfad.set_text(s);
}

void Fields::Timer_XYPos_Timer() {
    const Point p = w.platform.get_cursor_pos();
    w.mauspos = p;
    w.lbl_2_Xpixel.set_caption("X: " + std::to_string(p.x) + " Pixel");
    w.lbl_2_Ypixel.set_caption("Y: " + std::to_string(p.y) + " Pixel");
    if (!w.platform.key_state(kVkEnter).pressed()) return;
    if (w.code_aktuell == kMousePositionCode) {
        w.txt_2_x.set_text(std::to_string(p.x));
        w.txt_2_y.set_text(std::to_string(p.y));
    } else if (w.code_aktuell == kPixelWatchCode) {
        w.txt_10_x.set_text(std::to_string(p.x));
        w.txt_10_y.set_text(std::to_string(p.y));
    }
}

}  // namespace mavorin
