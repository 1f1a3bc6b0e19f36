// The brace notation of typed text, parsed into key taps that every backend can press.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace mavorin {

enum class NamedKey {
    NoKey,
    Enter,
    Tab,
    Backspace,
    Delete,
    Insert,
    Escape,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    CapsLock,
    NumLock,
    ScrollLock,
    Break,
    PrintScreen,
    Help,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    F13,
    F14,
    F15,
    F16
};

inline constexpr unsigned kModShift = 1, kModCtrl = 2, kModAlt = 4;

// One key pressed and released while the modifiers in `mods` are held.
struct KeyTap {
    unsigned mods = 0;
    char32_t ch = 0;                 // a character to type, or 0
    NamedKey key = NamedKey::NoKey;  // a named key when ch is 0
    bool operator==(const KeyTap&) const = default;
};

// "+" Shift, "^" Ctrl, "%" Alt for the next key or a group in parentheses; "~" Enter; names in
// braces (case-insensitive, optional repeat count "{LEFT 3}"); "{+}" and friends type themselves.
// A malformed text (unbalanced braces or parentheses, an unknown name) is rejected whole: nullopt.
std::optional<std::vector<KeyTap>> parse_sendkeys(std::string_view utf8);

}  // namespace mavorin
