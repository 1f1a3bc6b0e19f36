// Skeleton: replaced by the real implementation.
#include "engine/input_actions.hpp"
#include "app/frm_mavorin.hpp"

namespace mavorin {
std::string tastatur_text(const std::string& s, const std::string&) { return s; }
void InputActions::MouseDown(int& MouseButton) {  }  // TODO
void InputActions::MouseUp(int& MouseButton) {  }  // TODO
void InputActions::MouseClick(int& MouseButton) {  }  // TODO
void InputActions::mauszeiger_bewegen() {  }  // TODO
void InputActions::mausklick() {  }  // TODO
void InputActions::tastatur_eingabe() {  }  // TODO
void InputActions::zahl_hochzaehlen() {  }  // TODO
std::string InputActions::zahl_textform() const { return {}; }  // TODO
std::string InputActions::code5_ersetzen(const std::string& text) const { return {}; }  // TODO

}  // namespace mavorin
