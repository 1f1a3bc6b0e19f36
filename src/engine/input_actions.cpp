// Input actions: pointer, clicks, typed text, and the counter that feeds the clipboard.
#include "engine/input_actions.hpp"

#include <climits>
#include <cmath>

#include "app/frm_mavorin.hpp"

namespace mavorin {

namespace {

constexpr double kCounterLimit = 99999999999999.0;

}  // namespace

std::string tastatur_text(const std::string& stored, const std::string& counter_text) {
    // Escaping comes first, so only the modifiers produced below act as modifiers; the counter
    // comes last, so its characters are typed literally.
    static const std::pair<const char*, const char*> kSteps[] = {
        {"+", "{+}"}, {"^", "{^}"},     {"%", "{%}"},    {"~", "{~}"},   {"(", "{(}"},
        {")", "{)}"}, {"{SHIFT}", "+"}, {"{CTRL}", "^"}, {"{ALT}", "%"}, {"{ALTGR}", "^%"}};
    std::string t = stored;
    for (const auto& [find, with] : kSteps) t = ersetze_alle(t, find, with);
    t = ersetze_alle(t, "{CODE5}", counter_text);
    return ersetze_alle(t, "{code5}", counter_text);
}

void InputActions::MouseDown(int& MouseButton) {
    static const int flags[] = {2, 8, 32};
    if (MouseButton >= 0 && MouseButton <= 2) w.platform.mouse_event(flags[MouseButton]);
}

void InputActions::MouseUp(int& MouseButton) {
    static const int flags[] = {4, 16, 64};
    if (MouseButton >= 0 && MouseButton <= 2) w.platform.mouse_event(flags[MouseButton]);
}

void InputActions::MouseClick(int& MouseButton) {
    MouseDown(MouseButton);
    MouseUp(MouseButton);
}

void InputActions::mauszeiger_bewegen() {
    const int i = w.befehl_aktuell;
    const long long x = runde(wert_aus_text(w.befehl_wert1[i]));
    const long long y = runde(wert_aus_text(w.befehl_wert2[i]));
    // A coordinate that does not fit the cursor call fails the statement: the pointer stays.
    if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return;
    w.platform.set_cursor_pos(static_cast<int>(x), static_cast<int>(y));
}

void InputActions::mausklick() {
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

void InputActions::tastatur_eingabe() {
    const int i = w.befehl_aktuell;
    w.befehl_wert1[i] = tastatur_text(w.befehl_wert1[i], zahl_textform());
    // A long text must stay stoppable: between its chunks the window answers (repaints, a close
    // request) and the abort key is polled, while no timer of the window fires, so that to the
    // macro the step still runs to its end.
    form::EventLoop::Hold hold(w.loop);
    bool aborted = false;
    w.platform.send_keys(w.befehl_wert1[i], [this, &aborted] {
        w.platform.process_pending_events();
        if (w.beendet) return false;
        aborted = w.run.abort_key_tapped();
        return !aborted;
    });
    if (aborted && w.running()) w.run.start_stop();
}

void InputActions::zahl_hochzaehlen() {
    const int i = w.befehl_aktuell;
    if (w.zahl_neu) {
        w.zahl = w.zahl_naechste = wert_aus_text(w.befehl_wert1[i]);
        w.zahl_neu = false;
    }
    if (w.zahl_naechste_leer) {
        // Nothing to count from yet: the clipboard gets an empty text and the step becomes next.
        w.zahl = 0;
        w.zahl_leer = true;
        w.platform.clipboard_set_text("");
        w.zahl_naechste = wert_aus_text(w.befehl_wert2[i]);
        w.zahl_naechste_leer = false;
        return;
    }
    if (w.zahl_naechste > kCounterLimit)
        w.zahl_naechste = kCounterLimit;
    else if (w.zahl_naechste < -kCounterLimit)
        w.zahl_naechste = -kCounterLimit;
    w.zahl = w.zahl_naechste;
    w.zahl_leer = false;
    w.platform.clipboard_set_text(zahl_textform());
    w.zahl_naechste = w.zahl + wert_aus_text(w.befehl_wert2[i]);
}

std::string InputActions::zahl_textform() const {
    return w.zahl_leer ? std::string() : zahl_text(w.zahl);
}

std::string InputActions::code5_ersetzen(const std::string& text) const {
    return ersetze_alle(ersetze_alle(text, "{CODE5}", zahl_textform()), "{code5}", zahl_textform());
}

}  // namespace mavorin
