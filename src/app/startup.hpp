// Start-up, New, closing, and the window options of a macro file's first line.
#pragma once

namespace mavorin {

class frm_mavorin;

// Background colours of the three schemes (window colour values, blue-green-red).
inline constexpr unsigned kSchemeColors[3] = {0x60E020, 0xE0F020, 0x7070FF};
// A calm start colour; the schemes of a macro file are louder on purpose.
inline constexpr unsigned kStartColor = 0xF4EEE8;

class Startup {
  public:
    explicit Startup(frm_mavorin& w) : w(w) {}
    void Form_Load();
    void cmd_neu_Click();
    void Form_Unload();
    void form_eigenschaften();
    // Window option "9" clears it, the catch-all row sets it: whether the window shows in the
    // task bar.
    bool show_in_taskbar = true;

  private:
    void apply_background(unsigned color);
    frm_mavorin& w;
};

}  // namespace mavorin
