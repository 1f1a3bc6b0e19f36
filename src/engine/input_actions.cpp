// Input actions: pointer, clicks, typed text, and the counter that feeds the clipboard.
#include "engine/input_actions.hpp"

#include <climits>
#include <cmath>

#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

constexpr double kCounterLimit = 99999999999999.0;
// The form numbers its buttons 0 left, 1 right, 2 middle.
constexpr PointerButton kButtons[] = {PointerButton::left, PointerButton::right,
                                      PointerButton::middle};

}  // namespace

std::string keystroke_text(const std::string& stored, const std::string& counter_text) {
    // Escaping comes first, so only the modifiers produced below act as modifiers; the counter
    // comes last, so its characters are typed literally.
    static const std::pair<const char*, const char*> kSteps[] = {
        {"+", "{+}"}, {"^", "{^}"},     {"%", "{%}"},    {"~", "{~}"},   {"(", "{(}"},
        {")", "{)}"}, {"{SHIFT}", "+"}, {"{CTRL}", "^"}, {"{ALT}", "%"}, {"{ALTGR}", "^%"}};
    std::string t = stored;
    for (const auto& [find, with] : kSteps) t = replace_all(t, find, with);
    t = replace_all(t, "{CODE5}", counter_text);
    return replace_all(t, "{code5}", counter_text);
}

void InputActions::MouseDown(int& MouseButton) {
    if (MouseButton >= 0 && MouseButton <= 2) w.platform.mouse_button(kButtons[MouseButton], true);
}

void InputActions::MouseUp(int& MouseButton) {
    if (MouseButton >= 0 && MouseButton <= 2) w.platform.mouse_button(kButtons[MouseButton], false);
}

void InputActions::MouseClick(int& MouseButton) {
    MouseDown(MouseButton);
    MouseUp(MouseButton);
}

void InputActions::move_mouse_pointer() {
    const int i = w.befehl_aktuell;
    const long long x = round_half_even(wert_aus_text(w.befehl_wert1[i]));
    const long long y = round_half_even(wert_aus_text(w.befehl_wert2[i]));
    // A coordinate that does not fit the cursor call fails the statement: the pointer stays.
    if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return;
    w.platform.set_cursor_pos(static_cast<int>(x), static_cast<int>(y));
}

void InputActions::click_mouse() {
    const std::string& word = w.befehl_wert1[w.befehl_aktuell];
    int button = -1;
    if (word == "left")
        button = 0;
    else if (word == "middle")
        button = 2;
    else if (word == "right")
        button = 1;
    if (button >= 0) MouseClick(button);
}

void InputActions::type_keys() {
    const int i = w.befehl_aktuell;
    w.befehl_wert1[i] = keystroke_text(w.befehl_wert1[i], current_number_text());
    // A long text must stay stoppable: between its chunks the window answers (repaints, a close
    // request) and the abort key is polled, while no timer of the window fires, so that to the
    // macro the step still runs to its end.
    form::EventLoop::Hold hold(w.loop);
    bool aborted = false;
    w.platform.send_keys(w.befehl_wert1[i], [this, &aborted] {
        w.platform.process_pending_events();
        if (w.end_carried_out) return false;
        aborted = w.run.abort_key_tapped();
        return !aborted;
    });
    if (aborted && w.running()) w.run.start_stop();
}

void InputActions::count_up() {
    const int i = w.befehl_aktuell;
    if (w.zahl_neu) {
        w.zahl = w.zahl_naechste = wert_aus_text(w.befehl_wert1[i]);
        w.zahl_neu = false;
    }
    if (w.next_number_blank) {
        // Nothing to count from yet: the clipboard gets an empty text and the step becomes next.
        w.zahl = 0;
        w.number_blank = true;
        w.platform.clipboard_set_text("");
        w.zahl_naechste = wert_aus_text(w.befehl_wert2[i]);
        w.next_number_blank = false;
        return;
    }
    if (w.zahl_naechste > kCounterLimit)
        w.zahl_naechste = kCounterLimit;
    else if (w.zahl_naechste < -kCounterLimit)
        w.zahl_naechste = -kCounterLimit;
    w.zahl = w.zahl_naechste;
    w.number_blank = false;
    w.platform.clipboard_set_text(current_number_text());
    w.zahl_naechste = w.zahl + wert_aus_text(w.befehl_wert2[i]);
}

std::string InputActions::current_number_text() const {
    return w.number_blank ? std::string() : number_text(w.zahl);
}

std::string InputActions::replace_code5(const std::string& text) const {
    return replace_all(replace_all(text, "{CODE5}", current_number_text()), "{code5}",
                       current_number_text());
}

}  // namespace mavorin
