// The key poll: "down now" and "pressed by someone else since the previous poll" from raw events,
// with the keymap as the occasional ground truth.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

namespace {

KeySym vk_keysym(int vk) {
    if (vk == 13) return XK_Return;
    if (vk == 27) return XK_Escape;
    if (vk == 9) return XK_Tab;
    if (vk == 32) return XK_space;
    if (vk >= 112 && vk <= 135) return XK_F1 + (vk - 112);  // F1..F24
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk + ((vk >= 'A') ? 32 : 0);
    return NoSymbol;
}

// A key whose previous poll is older than this was not being watched (Escape pressed long
// before a run started): only a press younger than the tap window counts then.
constexpr auto kWatched = std::chrono::seconds(1);
constexpr auto kTapWindow = std::chrono::milliseconds(300);

// How long an announced fake event waits for its echo before it is forgotten.
constexpr auto kOwnEchoWithin = std::chrono::seconds(2);

// How often the tracked "down" state is checked against the server's keymap.
constexpr auto kResyncEvery = std::chrono::seconds(1);

}  // namespace

KeyPoll::KeyPoll(Display* dpy) : dpy_(dpy) {
    int event, error;
    // 2.1 and later deliver raw events even while a device is grabbed.
    int major = 2, minor = 2;
    if (!XQueryExtension(dpy_, "XInputExtension", &xi_opcode_, &event, &error) ||
        XIQueryVersion(dpy_, &major, &minor) != Success)
        xi_opcode_ = -1;
    if (xi_opcode_ >= 0) {
        int n = 0;
        XIDeviceInfo* info = XIQueryDevice(dpy_, XIAllDevices, &n);
        for (int i = 0; i < n; ++i)
            if (info[i].use == XISlaveKeyboard && is_xtest_device(dpy_, info[i].deviceid))
                xtest_ids_.insert(info[i].deviceid);
        if (info) XIFreeDeviceInfo(info);
        // The masters' events name the slave they came from; a slave grabbed by the input block
        // is detached from its master and sends its raw events through the grab instead.
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        XISelectEvents(dpy_, DefaultRootWindow(dpy_), &mask, 1);
    }
    resync();
    pressed_.reset();  // keys already down were pressed before anyone could poll them
}

void KeyPoll::set_grabbed(const std::vector<int>& ids) {
    grabbed_ids_ = std::set<int>(ids.begin(), ids.end());
    if (grabbed_ids_.empty()) grabbed_down_.reset();
}

void KeyPoll::expect_own(KeyCode code, bool press) {
    own_[code * 2 + press].push_back(Clock::now() + kOwnEchoWithin);
}

bool KeyPoll::own(int code, bool press) {
    auto& q = own_[code * 2 + press];
    const auto now = Clock::now();
    while (!q.empty() && q.front() < now) q.pop_front();
    if (q.empty()) return false;
    q.pop_front();
    return true;
}

void KeyPoll::resync() {
    char keys[32] = {};
    XQueryKeymap(dpy_, keys);
    const auto now = Clock::now();
    for (int code = 0; code < 256; ++code) {
        const bool down = grabbed_down_[code] || (keys[code / 8] & (1 << (code % 8)));
        // Without raw events a key that went down since the last look is the best guess.
        if (xi_opcode_ < 0 && down && !down_[code]) {
            pressed_[code] = true;
            pressed_at_[code] = now;
        }
        down_[code] = down;
    }
    foreign_down_ &= down_;
    synced_ = now;
    // Events queued before the snapshot replay in order onto it and end in the same state;
    // later ones move it on.
    drain();
}

bool KeyPoll::any_down(std::initializer_list<KeySym> syms) {
    for (KeySym sym : syms)
        if (const KeyCode code = XKeysymToKeycode(dpy_, sym); code && foreign_down_[code])
            return true;
    return false;
}

void KeyPoll::seen(int evtype, const XIRawEvent& ev) {
    if (ev.detail < 0 || ev.detail > 255) return;
    const int code = ev.detail;
    const bool press = evtype == XI_RawKeyPress;
    down_[code] = press;
    if (grabbed_ids_.count(ev.sourceid)) grabbed_down_[code] = press;
    if (xtest_ids_.count(ev.sourceid) && own(code, press)) return;
    foreign_down_[code] = press;
    if (!press || (ev.flags & XIKeyRepeat)) return;  // a held key counts once
    pressed_[code] = true;
    pressed_at_[code] = Clock::now();
    if ((code == XKeysymToKeycode(dpy_, XK_Delete) ||
         code == XKeysymToKeycode(dpy_, XK_KP_Delete)) &&
        any_down({XK_Control_L, XK_Control_R}) && any_down({XK_Alt_L, XK_Alt_R, XK_Meta_L}) &&
        on_escape_chord)
        on_escape_chord();
}

void KeyPoll::drain() {
    while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (ev.type == MappingNotify) {
            XRefreshKeyboardMapping(&ev.xmapping);  // our own remaps while typing
            keycodes_.clear();
            continue;
        }
        if (ev.type != GenericEvent || ev.xcookie.extension != xi_opcode_) continue;
        if (!XGetEventData(dpy_, &ev.xcookie)) continue;
        if (ev.xcookie.evtype == XI_RawKeyPress || ev.xcookie.evtype == XI_RawKeyRelease)
            seen(ev.xcookie.evtype, *static_cast<XIRawEvent*>(ev.xcookie.data));
        XFreeEventData(dpy_, &ev.xcookie);
    }
}

KeyCode KeyPoll::keycode(int vk) {
    auto [it, added] = keycodes_.try_emplace(vk, 0);
    if (added) {
        const KeySym sym = vk_keysym(vk);
        it->second = sym == NoSymbol ? 0 : XKeysymToKeycode(dpy_, sym);
    }
    return it->second;
}

KeyState KeyPoll::state(int vk) {
    // Without XInput2 there are no events to follow: every poll asks the server.
    if (xi_opcode_ < 0 || Clock::now() - synced_ >= kResyncEvery)
        resync();
    else
        drain();
    // After draining: a mapping change in the queue must not leave a stale keycode.
    const KeyCode code = keycode(vk);
    if (!code) return reported_[vk] = {};  // a key the keyboard lacks is never pressed
    const auto now = Clock::now();
    const bool watched = now - polled_at_[code] <= kWatched;
    polled_at_[code] = now;
    // A tap released before this poll still counts: a quick tap on the abort key must never be
    // missed because it fell between two polls.
    const bool pressed = pressed_[code] && (watched || now - pressed_at_[code] <= kTapWindow);
    pressed_[code] = false;
    // A tap let go before this poll counts as a press still down.
    return reported_[vk] = {pressed || down_[code], pressed};
}

bool KeyPoll::settled(int vk) {
    if (xi_opcode_ < 0) return false;
    drain();
    const KeyCode code = keycode(vk);
    const auto last = reported_.find(vk);
    if (last == reported_.end()) return false;
    if (!code) return last->second == KeyState{};
    return !pressed_[code] && last->second == KeyState{static_cast<bool>(down_[code]), false};
}

}  // namespace mavorin::x11
