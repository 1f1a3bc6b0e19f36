// Typing through XTest: keysyms found on the keymap are typed as they are; the rest are mapped
// onto spare keycodes first, all at once, and the mapping is put back afterwards (on a stop, an
// exit and a caught signal too; after a kill, by the next start from the note).
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <unistd.h>

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

// A tap is at most ten fake key events. Flushing whenever Xlib's buffer has no room for a whole
// one means Xlib never sends half a tap by itself, so a kill never leaves a key down.
constexpr int kMaxEventsPerTap = 10;

bool is_paste(const KeyTap& t) {
    if ((t.mods & kModCtrl) && !(t.mods & kModAlt) && (t.ch == 'v' || t.ch == 'V')) return true;
    return (t.mods & kModShift) && !(t.mods & kModCtrl) && t.key == NamedKey::Insert && !t.ch;
}

}  // namespace

Keyboard::Keyboard(Display* dpy, KeyPoll& poll) : dpy_(dpy), poll_(poll) {}

Keyboard::~Keyboard() {
    release_all();
    give_back_map();
}

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
    poll_.expect_own(code, down);
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

void Keyboard::give_back_map() {
    if (remapped_.empty()) return;
    for (const auto& [sym, kc] : remapped_) {
        KeySym none[2] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(dpy_, kc, 2, none, 1);
    }
    XSync(dpy_, False);
    remapped_.clear();
    if (!note_.empty()) unlink(note_.c_str());
    note_.clear();
}

void Keyboard::prepare(const std::vector<KeyTap>& taps) {
    give_back_map();
    // Characters that no key produces get spare keycodes, all mapped before typing starts:
    // remapping between keys makes clients read earlier keys with the new map.
    std::map<KeySym, KeyCode> wanted;
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
    strokes_.clear();
    for (const KeyTap& t : taps) {
        KeySym sym = tap_keysym(t);
        Stroke s;
        if (sym == NoSymbol || strokes_.count(sym)) continue;
        if (!find(sym, s)) {
            if (spare.empty()) continue;  // nothing left to map it onto: that one is skipped
            s.code = wanted[sym] = spare.back();
            spare.pop_back();
        }
        strokes_[sym] = s;
    }
    if (!wanted.empty()) {
        // Noted first: a kill between here and give_back_map() leaves the note behind.
        note_ = write_keymap_note(dpy_, wanted);
        remapped_ = wanted;
        for (const auto& [sym, kc] : remapped_) {
            KeySym pair[2] = {sym, sym};
            XChangeKeyboardMapping(dpy_, kc, 2, pair, 1);
        }
        XSync(dpy_, False);
        std::this_thread::sleep_for(kRemapSettle);
    }
    shift_ = XKeysymToKeycode(dpy_, XK_Shift_L);
    ctrl_ = XKeysymToKeycode(dpy_, XK_Control_L);
    alt_ = XKeysymToKeycode(dpy_, XK_Alt_L);
    altgr_ = XKeysymToKeycode(dpy_, XK_ISO_Level3_Shift);
    altgr_mask_ = modifier_mask(dpy_, altgr_);
}

void Keyboard::tap(const KeyTap& t) {
    auto it = strokes_.find(tap_keysym(t));
    if (it == strokes_.end()) return;
    Stroke s = it->second;
    unsigned mods = t.mods;
    const bool need_shift = s.shift || (mods & kModShift);
    // Windows reads Ctrl+Alt as AltGr ("{ALTGR}q" is "@" on a German keyboard): do the same
    // where AltGr changes what the key gives; elsewhere Ctrl+Alt stays a shortcut.
    if ((mods & kModCtrl) && (mods & kModAlt) && altgr_mask_ && !s.altgr) {
        const unsigned base = need_shift ? ShiftMask : 0;
        unsigned used = 0;
        KeySym plain = NoSymbol, level3 = NoSymbol;
        XkbLookupKeySym(dpy_, s.code, base, &used, &plain);
        XkbLookupKeySym(dpy_, s.code, base | altgr_mask_, &used, &level3);
        if (level3 != NoSymbol && level3 != plain) {
            s.altgr = true;
            mods &= ~(kModCtrl | kModAlt);
        }
    }
    if (!output_has_room(dpy_, kMaxEventsPerTap)) XFlush(dpy_);
    if (mods & kModCtrl) press(ctrl_, true);
    if (mods & kModAlt) press(alt_, true);
    if (need_shift) press(shift_, true);
    if (s.altgr) press(altgr_, true);
    press(s.code, true);
    press(s.code, false);
    if (s.altgr) press(altgr_, false);
    if (need_shift) press(shift_, false);
    if (mods & kModAlt) press(alt_, false);
    if (mods & kModCtrl) press(ctrl_, false);
}

void Keyboard::type(const std::vector<KeyTap>& taps, size_t from, size_t to) {
    for (size_t i = from; i < to && i < taps.size(); ++i) {
        tap(taps[i]);
        if (after_paste && is_paste(taps[i])) {
            XSync(dpy_, False);
            after_paste();
        }
    }
    XSync(dpy_, False);
}

void Keyboard::finish() {
    if (remapped_.empty()) return;
    std::this_thread::sleep_for(kRemapSettle);
    give_back_map();
}

}  // namespace mavorin::x11
