// Builds the virtual keyboard's keymap text.
#include "platform/wayland/wayland_keymap.hpp"

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

namespace mavorin::wayland {

namespace {

std::string keysym_name(uint32_t sym) {
    char name[64];
    if (xkb_keysym_get_name(sym, name, sizeof name) <= 0) return "NoSymbol";
    return name;
}

std::string key_name(uint32_t key) {
    return "<K" + std::to_string(key) + ">";
}

}  // namespace

bool Keymap::add(uint32_t sym) {
    if (sym == 0 || has(sym)) return true;
    if (keys_.size() > kLastKey - kFirstKey) return false;
    const uint32_t key = kFirstKey + static_cast<uint32_t>(keys_.size());
    const uint32_t lower = xkb_keysym_to_lower(sym), upper = xkb_keysym_to_upper(sym);
    // A letter goes with its capital, so that Shift chords give what they give on any keyboard.
    if (lower != upper && !has(lower) && !has(upper)) {
        keys_.push_back({lower, upper});
        places_[lower] = {key, false};
        places_[upper] = {key, true};
    } else {
        keys_.push_back({sym});
        places_[sym] = {key, false};
    }
    return true;
}

std::string Keymap::text() const {
    const uint32_t last = kFirstKey + static_cast<uint32_t>(keys_.size());
    std::string t = "xkb_keymap {\nxkb_keycodes \"mavorin\" {\n minimum = 8;\n maximum = 255;\n";
    for (uint32_t k = kShiftKey; k < last; ++k)
        t += " " + key_name(k) + " = " + std::to_string(k + 8) + ";\n";
    t += "};\nxkb_types \"mavorin\" { include \"complete\" };\n"
         "xkb_compat \"mavorin\" { include \"complete\" };\n"
         "xkb_symbols \"mavorin\" {\n";
    t += " key " + key_name(kShiftKey) + " { [ Shift_L ] };\n";
    t += " key " + key_name(kControlKey) + " { [ Control_L ] };\n";
    t += " key " + key_name(kAltKey) + " { [ Alt_L ] };\n";
    for (size_t i = 0; i < keys_.size(); ++i) {
        const auto& levels = keys_[i];
        t += " key " + key_name(kFirstKey + static_cast<uint32_t>(i)) + " { ";
        if (levels.size() == 2) t += "type = \"TWO_LEVEL\", ";
        t += "[ " + keysym_name(levels[0]);
        if (levels.size() == 2) t += ", " + keysym_name(levels[1]);
        t += " ] };\n";
    }
    t += " modifier_map Shift { " + key_name(kShiftKey) + " };\n";
    t += " modifier_map Control { " + key_name(kControlKey) + " };\n";
    t += " modifier_map Mod1 { " + key_name(kAltKey) + " };\n";
    t += "};\n};\n";
    return t;
}

uint32_t tap_keysym(const KeyTap& tap) {
    if (tap.ch == '\n' || tap.ch == '\r') return XKB_KEY_Return;
    if (tap.ch == '\t') return XKB_KEY_Tab;
    if (tap.ch) return xkb_utf32_to_keysym(tap.ch);
    switch (tap.key) {
        case NamedKey::NoKey:
            return 0;
        case NamedKey::Enter:
            return XKB_KEY_Return;
        case NamedKey::Tab:
            return XKB_KEY_Tab;
        case NamedKey::Backspace:
            return XKB_KEY_BackSpace;
        case NamedKey::Delete:
            return XKB_KEY_Delete;
        case NamedKey::Insert:
            return XKB_KEY_Insert;
        case NamedKey::Escape:
            return XKB_KEY_Escape;
        case NamedKey::Up:
            return XKB_KEY_Up;
        case NamedKey::Down:
            return XKB_KEY_Down;
        case NamedKey::Left:
            return XKB_KEY_Left;
        case NamedKey::Right:
            return XKB_KEY_Right;
        case NamedKey::Home:
            return XKB_KEY_Home;
        case NamedKey::End:
            return XKB_KEY_End;
        case NamedKey::PageUp:
            return XKB_KEY_Prior;
        case NamedKey::PageDown:
            return XKB_KEY_Next;
        case NamedKey::CapsLock:
            return XKB_KEY_Caps_Lock;
        case NamedKey::NumLock:
            return XKB_KEY_Num_Lock;
        case NamedKey::ScrollLock:
            return XKB_KEY_Scroll_Lock;
        case NamedKey::Break:
            return XKB_KEY_Pause;
        case NamedKey::PrintScreen:
            return XKB_KEY_Print;
        case NamedKey::Help:
            return XKB_KEY_Help;
        default:
            break;
    }
    return XKB_KEY_F1 + (static_cast<int>(tap.key) - static_cast<int>(NamedKey::F1));
}

}  // namespace mavorin::wayland
