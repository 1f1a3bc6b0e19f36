// Input actions: pointer move, clicks, typed text with its replacements, and the counter.
#pragma once

#include <string>

namespace mavorin {

class frm_mavorin;

// The text handed to the keystroke operation for a stored keyboard text.
std::string keystroke_text(const std::string& stored, const std::string& counter_text);

class InputActions {
  public:
    explicit InputActions(frm_mavorin& w) : w(w) {}
    void MouseDown(int& MouseButton);
    void MouseUp(int& MouseButton);
    void MouseClick(int& MouseButton);
    void move_mouse_pointer();  // 002
    void click_mouse();         // 003
    void type_keys();           // 004
    void count_up();            // 005
    // Text form of the counter (locale decimal separator, up to 15 significant digits).
    std::string current_number_text() const;
    // Every "{CODE5}", then every "{code5}", replaced by the counter's text form.
    std::string replace_code5(const std::string& text) const;

  private:
    frm_mavorin& w;
};

}  // namespace mavorin
