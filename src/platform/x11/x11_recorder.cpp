// The X11 recorder: a thread reads raw key, button and motion events as they come, so that a
// key is read with the keyboard map of its moment (typing tools map missing characters onto
// spare keys only for the length of one keystroke).
#include "platform/x11/x11_recorder.hpp"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <poll.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace mavorin::x11 {

namespace {

std::string utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xF0 | (c >> 18));
        s += char(0x80 | ((c >> 12) & 0x3F));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
    return s;
}

// The character a keysym types; 0 for keys without one.
char32_t keysym_char(KeySym s) {
    if ((s >= 0x20 && s <= 0x7E) || (s >= 0xA0 && s <= 0xFF)) return char32_t(s);
    if ((s & 0xFF000000) == 0x01000000) return char32_t(s & 0x00FFFFFF);
    if (s == XK_EuroSign) return U'€';
    if (s >= XK_KP_0 && s <= XK_KP_9) return U'0' + char32_t(s - XK_KP_0);
    static const std::map<KeySym, char32_t> keypad = {
        {XK_KP_Space, U' '},     {XK_KP_Add, U'+'},    {XK_KP_Subtract, U'-'},
        {XK_KP_Multiply, U'*'},  {XK_KP_Divide, U'/'}, {XK_KP_Decimal, U'.'},
        {XK_KP_Separator, U','}, {XK_KP_Equal, U'='}};
    auto it = keypad.find(s);
    return it == keypad.end() ? 0 : it->second;
}

// Keys without a character, in the notation's words.
std::string key_name(KeySym s) {
    if (s >= XK_F1 && s <= XK_F12) return "F" + std::to_string(s - XK_F1 + 1);
    static const std::map<KeySym, const char*> names = {{XK_Return, "ENTER"},
                                                        {XK_KP_Enter, "ENTER"},
                                                        {XK_Tab, "TAB"},
                                                        {XK_ISO_Left_Tab, "TAB"},
                                                        {XK_BackSpace, "BS"},
                                                        {XK_Escape, "ESC"},
                                                        {XK_Delete, "DEL"},
                                                        {XK_KP_Delete, "DEL"},
                                                        {XK_Insert, "INS"},
                                                        {XK_KP_Insert, "INS"},
                                                        {XK_Up, "UP"},
                                                        {XK_KP_Up, "UP"},
                                                        {XK_Down, "DOWN"},
                                                        {XK_KP_Down, "DOWN"},
                                                        {XK_Left, "LEFT"},
                                                        {XK_KP_Left, "LEFT"},
                                                        {XK_Right, "RIGHT"},
                                                        {XK_KP_Right, "RIGHT"},
                                                        {XK_Home, "HOME"},
                                                        {XK_KP_Home, "HOME"},
                                                        {XK_End, "END"},
                                                        {XK_KP_End, "END"},
                                                        {XK_Prior, "PGUP"},
                                                        {XK_KP_Prior, "PGUP"},
                                                        {XK_Next, "PGDN"},
                                                        {XK_KP_Next, "PGDN"},
                                                        {XK_Num_Lock, "NUMLOCK"},
                                                        {XK_Scroll_Lock, "SCROLLLOCK"},
                                                        {XK_Pause, "BREAK"},
                                                        {XK_Print, "PRTSC"}};
    auto it = names.find(s);
    return it == names.end() ? std::string() : it->second;
}

KeySym stop_keysym(int vk) {
    if (vk >= 0x70 && vk <= 0x7B) return XK_F1 + (vk - 0x70);
    return XK_Escape;
}

class X11Recorder : public QueuedRecorder {
  public:
    X11Recorder(Display* dpy, int xi_opcode, const RecorderRequest& r)
        : dpy_(dpy), xi_(xi_opcode), positions_(r.positions), stop_sym_(stop_keysym(r.stop_vk)) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XISetMask(bits, XI_RawButtonPress);
        XISetMask(bits, XI_RawButtonRelease);
        if (positions_) XISetMask(bits, XI_RawMotion);
        // The masters carry every slave's input, XTest devices of other clients included.
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        XISelectEvents(dpy_, DefaultRootWindow(dpy_), &mask, 1);
        // Map changes come as XKB events to a client that Xlib set up for XKB.
        int opcode, error, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (XkbQueryExtension(dpy_, &opcode, &xkb_event_, &error, &major, &minor))
            XkbSelectEvents(dpy_, XkbUseCoreKbd, XkbMapNotifyMask, XkbMapNotifyMask);
        else
            xkb_event_ = -1;
        read_keymap();
        for (const auto& syms : keymap_) own_syms_.insert(syms.begin(), syms.end());
        // Caps Lock as the pointer query reports it.
        Window root, child;
        int rx, ry, wx, wy;
        unsigned state = 0;
        XQueryPointer(dpy_, DefaultRootWindow(dpy_), &root, &child, &rx, &ry, &wx, &wy, &state);
        caps_ = state & LockMask;
        XSync(dpy_, False);
        thread_ = std::thread([this] { run(); });
    }
    ~X11Recorder() override {
        quit_ = true;
        thread_.join();
        XCloseDisplay(dpy_);
    }

  private:
    void read_keymap() {
        XDisplayKeycodes(dpy_, &min_code_, &max_code_);
        int per = 0;
        KeySym* syms =
            XGetKeyboardMapping(dpy_, KeyCode(min_code_), max_code_ - min_code_ + 1, &per);
        keymap_.assign(256, {});
        for (int code = min_code_; syms && code <= max_code_; ++code)
            for (int i = 0; i < per; ++i)
                keymap_[code].push_back(syms[(code - min_code_) * per + i]);
        if (syms) XFree(syms);
    }

    KeySym sym(int code, int column) const {
        const auto& v = keymap_[code];
        KeySym s = column < int(v.size()) ? v[column] : NoSymbol;
        // A key with one symbol gives it on both levels; letters take their case.
        if (s == NoSymbol && (column == 1 || column == 5)) {
            KeySym lower, upper;
            XConvertCase(sym(code, column - 1), &lower, &upper);
            s = upper;
        }
        return s;
    }

    void run() {
        pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
        while (!quit_) {
            while (XPending(dpy_) > 0) handle_next();
            poll(&fd, 1, 20);
        }
    }

    void handle_next() {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (ev.type == MappingNotify ||
            (ev.type == xkb_event_ &&
             reinterpret_cast<XkbAnyEvent*>(&ev)->xkb_type == XkbMapNotify)) {
            // Read the new map at once: the key that needed it is right behind this event.
            read_keymap();
            return;
        }
        if (ev.type != GenericEvent || ev.xcookie.extension != xi_) return;
        if (!XGetEventData(dpy_, &ev.xcookie)) return;
        const auto* raw = static_cast<const XIRawEvent*>(ev.xcookie.data);
        switch (ev.xcookie.evtype) {
            case XI_RawKeyPress:
            case XI_RawKeyRelease:
                key(*raw, ev.xcookie.evtype == XI_RawKeyPress);
                break;
            case XI_RawButtonPress:
            case XI_RawButtonRelease:
                button(*raw, ev.xcookie.evtype == XI_RawButtonPress);
                break;
            case XI_RawMotion:
                add(pointer_event(raw->time, InputKind::motion));
                break;
        }
        XFreeEventData(dpy_, &ev.xcookie);
    }

    RecordedInput pointer_event(Time t, InputKind kind) {
        RecordedInput e;
        e.ms = int64_t(t);
        e.kind = kind;
        Window root, child;
        int wx, wy;
        unsigned mask;
        XQueryPointer(dpy_, DefaultRootWindow(dpy_), &root, &child, &e.x, &e.y, &wx, &wy, &mask);
        return e;
    }

    void button(const XIRawEvent& raw, bool press) {
        static const std::map<int, PointerButton> buttons = {
            {1, PointerButton::left}, {2, PointerButton::middle}, {3, PointerButton::right}};
        auto it = buttons.find(raw.detail);
        if (it == buttons.end()) return;  // wheel and extra buttons
        RecordedInput e =
            pointer_event(raw.time, press ? InputKind::button_press : InputKind::button_release);
        e.button = it->second;
        add(e);
    }

    void key(const XIRawEvent& raw, bool press) {
        const int code = raw.detail;
        if (code < min_code_ || code > max_code_) return;
        const KeySym base = sym(code, 0);
        if (base == stop_sym_) {
            // The stop key ends the recording when it is let go; neither half is kept.
            if (press)
                stop_down_ = true;
            else if (stop_down_)
                set_stopped();
            return;
        }
        auto modifier = [&](std::set<int>& held, std::initializer_list<KeySym> syms) {
            for (KeySym s : syms)
                if (base == s) {
                    if (press)
                        held.insert(code);
                    else
                        held.erase(code);
                    return true;
                }
            return false;
        };
        if (modifier(shift_, {XK_Shift_L, XK_Shift_R}) ||
            modifier(ctrl_, {XK_Control_L, XK_Control_R}) ||
            modifier(alt_, {XK_Alt_L, XK_Alt_R, XK_Meta_L, XK_Meta_R}) ||
            modifier(altgr_, {XK_ISO_Level3_Shift, XK_Mode_switch}))
            return;
        if (base == XK_Caps_Lock) {
            if (press && !(raw.flags & XIKeyRepeat)) caps_ = !caps_;
            return;
        }
        RecordedInput e;
        e.ms = int64_t(raw.time);
        e.kind = press ? InputKind::key_press : InputKind::key_release;
        e.key = code;
        e.repeat = raw.flags & XIKeyRepeat;
        e.shift = !shift_.empty();
        e.ctrl = !ctrl_.empty();
        e.alt = !alt_.empty();
        e.altgr = !altgr_.empty();
        if (press) describe(code, e);
        add(e);
    }

    // The key's character at the level the modifiers chose, or its name.
    void describe(int code, RecordedInput& e) {
        const KeySym lower = sym(code, 0);
        KeySym l, u;
        XConvertCase(lower, &l, &u);
        const bool letter = l != u;
        const int level = (e.shift != (caps_ && letter)) ? 1 : 0;
        const KeySym plain = sym(code, level);
        KeySym typed = plain;
        if (e.altgr && sym(code, 4 + level) != NoSymbol) typed = sym(code, 4 + level);
        if (plain == XK_ISO_Left_Tab) e.shift = true;
        e.name = key_name(plain);
        if (!e.name.empty()) return;
        if (char32_t c = keysym_char(typed)) e.text = utf8(c);
        e.off_keymap = !own_syms_.count(typed);
        if (char32_t c = keysym_char(plain)) e.plain = utf8(c);
    }

    Display* dpy_;
    int xi_;
    int xkb_event_ = -1;
    bool positions_;
    KeySym stop_sym_;
    int min_code_ = 8, max_code_ = 255;
    std::vector<std::vector<KeySym>> keymap_;
    std::set<KeySym> own_syms_;  // the map as it was before anyone typed
    std::set<int> shift_, ctrl_, alt_, altgr_;
    bool caps_ = false;
    bool stop_down_ = false;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

}  // namespace

std::unique_ptr<InputRecorder> make_x11_recorder(const RecorderRequest& request,
                                                 std::string& reason) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        reason = "no X display";
        return nullptr;
    }
    int opcode, event, error, major = 2, minor = 2;
    if (!XQueryExtension(dpy, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(dpy, &major, &minor) != Success) {
        XCloseDisplay(dpy);
        reason = "the X server has no XInput 2";
        return nullptr;
    }
    return std::make_unique<X11Recorder>(dpy, opcode, request);
}

}  // namespace mavorin::x11
