// Typing through XTest: keysyms found on the keymap are typed as they are; the rest are mapped
// onto spare keycodes first, all at once, and the mapping is put back afterwards.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

namespace {

KeySym named_keysym(NamedKey k) {
    switch (k) {
        case NamedKey::Enter:
            return XK_Return;
        case NamedKey::Tab:
            return XK_Tab;
        case NamedKey::Backspace:
            return XK_BackSpace;
        case NamedKey::Delete:
            return XK_Delete;
        case NamedKey::Insert:
            return XK_Insert;
        case NamedKey::Escape:
            return XK_Escape;
        case NamedKey::Up:
            return XK_Up;
        case NamedKey::Down:
            return XK_Down;
        case NamedKey::Left:
            return XK_Left;
        case NamedKey::Right:
            return XK_Right;
        case NamedKey::Home:
            return XK_Home;
        case NamedKey::End:
            return XK_End;
        case NamedKey::PageUp:
            return XK_Prior;
        case NamedKey::PageDown:
            return XK_Next;
        case NamedKey::CapsLock:
            return XK_Caps_Lock;
        case NamedKey::NumLock:
            return XK_Num_Lock;
        case NamedKey::ScrollLock:
            return XK_Scroll_Lock;
        case NamedKey::Break:
            return XK_Pause;
        case NamedKey::PrintScreen:
            return XK_Print;
        case NamedKey::Help:
            return XK_Help;
        case NamedKey::NoKey:
            return NoSymbol;
        default:
            break;
    }
    return XK_F1 + (static_cast<int>(k) - static_cast<int>(NamedKey::F1));
}

KeySym char_keysym(char32_t ch) {
    if (ch == '\n' || ch == '\r') return XK_Return;
    if (ch == '\t') return XK_Tab;
    if ((ch >= 0x20 && ch < 0x7F) || (ch >= 0xA0 && ch <= 0xFF)) return ch;
    if (ch == 0x20AC) return XK_EuroSign;
    return 0x01000000 | ch;
}

KeySym tap_keysym(const KeyTap& t) {
    return t.ch ? char_keysym(t.ch) : named_keysym(t.key);
}

// The modifier bit a key sets (Mod5 for AltGr on common keymaps); 0 if it sets none.
unsigned modifier_mask(Display* dpy, KeyCode code) {
    unsigned mask = 0;
    if (!code) return mask;
    if (XModifierKeymap* map = XGetModifierMapping(dpy)) {
        for (int mod = 0; mod < 8; ++mod)
            for (int k = 0; k < map->max_keypermod; ++k)
                if (map->modifiermap[mod * map->max_keypermod + k] == code) mask |= 1u << mod;
        XFreeModifiermap(map);
    }
    return mask;
}

constexpr auto kRemapSettle = std::chrono::milliseconds(20);

}  // namespace

bool Keyboard::find(KeySym sym, Stroke& s) {
    KeyCode code = XKeysymToKeycode(dpy_, sym);
    if (!code) return false;
    // Level 0 plain, level 1 with Shift, level 2 with AltGr (ISO_Level3_Shift).
    for (int level = 0; level < 3; ++level) {
        if (XkbKeycodeToKeysym(dpy_, code, 0, level) == sym) {
            s.code = code;
            s.shift = level == 1;
            s.altgr = level == 2;
            return true;
        }
    }
    return false;
}

void Keyboard::press(KeyCode code, bool down) {
    if (!code) return;
    XTestFakeKeyEvent(dpy_, code, down ? True : False, CurrentTime);
    if (down)
        pressed_.insert(code);
    else
        pressed_.erase(code);
}

void Keyboard::release_all() {
    for (KeyCode c : std::set<KeyCode>(pressed_)) press(c, false);
    XFlush(dpy_);
}

void Keyboard::type(const std::vector<KeyTap>& taps) {
    // Characters that no key produces get spare keycodes, all mapped before typing starts:
    // remapping between keys makes clients read earlier keys with the new map.
    std::map<KeySym, KeyCode> remapped;
    int min_kc = 8, max_kc = 255;
    XDisplayKeycodes(dpy_, &min_kc, &max_kc);
    int per = 0;
    KeySym* map = XGetKeyboardMapping(dpy_, min_kc, max_kc - min_kc + 1, &per);
    std::vector<KeyCode> spare;
    if (map) {
        for (int kc = max_kc; kc >= min_kc; --kc) {
            bool empty = true;
            for (int k = 0; k < per; ++k)
                if (map[(kc - min_kc) * per + k] != NoSymbol) empty = false;
            if (empty) spare.push_back(static_cast<KeyCode>(kc));
        }
        XFree(map);
    }
    for (const KeyTap& t : taps) {
        KeySym sym = tap_keysym(t);
        Stroke s;
        if (sym == NoSymbol || remapped.count(sym) || find(sym, s)) continue;
        if (spare.empty()) continue;  // nothing left to map it onto: that character is skipped
        KeyCode kc = spare.back();
        spare.pop_back();
        KeySym pair[2] = {sym, sym};
        XChangeKeyboardMapping(dpy_, kc, 2, pair, 1);
        remapped[sym] = kc;
    }
    if (!remapped.empty()) {
        XSync(dpy_, False);
        std::this_thread::sleep_for(kRemapSettle);
    }

    const KeyCode shift = XKeysymToKeycode(dpy_, XK_Shift_L);
    const KeyCode ctrl = XKeysymToKeycode(dpy_, XK_Control_L);
    const KeyCode alt = XKeysymToKeycode(dpy_, XK_Alt_L);
    const KeyCode altgr = XKeysymToKeycode(dpy_, XK_ISO_Level3_Shift);
    const unsigned altgr_mask = modifier_mask(dpy_, altgr);
    for (const KeyTap& t : taps) {
        KeySym sym = tap_keysym(t);
        Stroke s;
        auto r = remapped.find(sym);
        if (r != remapped.end())
            s.code = r->second;
        else if (!find(sym, s))
            continue;
        unsigned mods = t.mods;
        const bool need_shift = s.shift || (mods & kModShift);
        // Windows reads Ctrl+Alt as AltGr ("{ALTGR}q" is "@" on a German keyboard): do the same
        // where AltGr changes what the key gives; elsewhere Ctrl+Alt stays a shortcut.
        if ((mods & kModCtrl) && (mods & kModAlt) && altgr_mask && !s.altgr) {
            const unsigned base = need_shift ? ShiftMask : 0;
            unsigned used = 0;
            KeySym plain = NoSymbol, level3 = NoSymbol;
            XkbLookupKeySym(dpy_, s.code, base, &used, &plain);
            XkbLookupKeySym(dpy_, s.code, base | altgr_mask, &used, &level3);
            if (level3 != NoSymbol && level3 != plain) {
                s.altgr = true;
                mods &= ~(kModCtrl | kModAlt);
            }
        }
        if (mods & kModCtrl) press(ctrl, true);
        if (mods & kModAlt) press(alt, true);
        if (need_shift) press(shift, true);
        if (s.altgr) press(altgr, true);
        press(s.code, true);
        press(s.code, false);
        if (s.altgr) press(altgr, false);
        if (need_shift) press(shift, false);
        if (mods & kModAlt) press(alt, false);
        if (mods & kModCtrl) press(ctrl, false);
        const bool paste =
            ((mods & kModCtrl) && !(mods & kModAlt) && (sym == XK_v || sym == XK_V)) ||
            ((mods & kModShift) && sym == XK_Insert);
        if (paste && after_paste) {
            XSync(dpy_, False);
            after_paste();
        }
    }
    XSync(dpy_, False);

    if (!remapped.empty()) {
        std::this_thread::sleep_for(kRemapSettle);
        for (const auto& [sym, kc] : remapped) {
            KeySym none[2] = {NoSymbol, NoSymbol};
            XChangeKeyboardMapping(dpy_, kc, 2, none, 1);
        }
        XSync(dpy_, False);
    }
}

}  // namespace mavorin::x11
