// The program's own keymap for the virtual keyboard: every keysym a text needs on a key of its
// own, so that what is typed never depends on the user's layout.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sendkeys.hpp"

namespace mavorin::wayland {

// Where a keysym sits: an evdev key code (xkb keycode - 8) and whether Shift reaches it.
struct KeyPlace {
    uint32_t key = 0;
    bool shift = false;
};

// Real modifier masks (the fixed order of xkb's real modifiers) and the keys that set them.
inline constexpr uint32_t kShiftMask = 1u << 0, kControlMask = 1u << 2, kMod1Mask = 1u << 3;
inline constexpr uint32_t kShiftKey = 1, kControlKey = 2, kAltKey = 3;

class Keymap {
  public:
    // Puts `sym` (and its other case) on a key; false when no key is left.
    bool add(uint32_t sym);
    bool has(uint32_t sym) const { return places_.count(sym) != 0; }
    KeyPlace place(uint32_t sym) const { return places_.at(sym); }
    // The keymap in xkb's text format.
    std::string text() const;
    bool operator==(const Keymap& other) const { return keys_ == other.keys_; }

  private:
    // Keys from the first after the modifiers up to 255, so X clients (keycodes < 256) get them.
    static constexpr uint32_t kFirstKey = 4, kLastKey = 247;
    std::vector<std::vector<uint32_t>> keys_;  // levels of each key, from kFirstKey on
    std::map<uint32_t, KeyPlace> places_;
};

// The keysym a tap types: characters by their Unicode value, named keys by name; 0 for none.
uint32_t tap_keysym(const KeyTap& tap);

}  // namespace mavorin::wayland
