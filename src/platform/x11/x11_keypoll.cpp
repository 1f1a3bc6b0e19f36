// The key poll: "down now" and "pressed since the previous poll" from raw events, with the
// keymap as the occasional ground truth.
#include <X11/XKBlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <chrono>

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

// A released key counts as tapped only this long after its press was seen. Polled keys are
// drained every 10 ms, so a real tap is far younger; an older press happened while nobody
// polled that key (Escape pressed long before a run started) and must not abort the run.
constexpr auto kTapWindow = std::chrono::milliseconds(300);

// How often the tracked "down" state is checked against the server's keymap.
constexpr auto kResyncEvery = std::chrono::seconds(1);

}  // namespace

KeyPoll::KeyPoll(Display* dpy) : dpy_(dpy) {
    int event, error;
    if (!XQueryExtension(dpy_, "XInputExtension", &xi_opcode_, &event, &error)) {
        xi_opcode_ = -1;
        return;
    }
    // 2.1 and later deliver raw events even while another client holds a grab.
    int major = 2, minor = 2;
    if (XIQueryVersion(dpy_, &major, &minor) != Success) {
        xi_opcode_ = -1;
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(dpy_, DefaultRootWindow(dpy_), &mask, 1);
    resync();
}

void KeyPoll::resync() {
    char keys[32] = {};
    XQueryKeymap(dpy_, keys);
    for (int code = 0; code < 256; ++code) down_[code] = keys[code / 8] & (1 << (code % 8));
    synced_ = std::chrono::steady_clock::now();
    // Events queued before the snapshot replay in order onto it and end in the same state;
    // later ones move it on.
    drain();
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
        const int code = static_cast<XIRawEvent*>(ev.xcookie.data)->detail;
        if (code >= 0 && code < 256) {
            if (ev.xcookie.evtype == XI_RawKeyPress) {
                down_.set(code);
                pressed_since_poll_[code] = std::chrono::steady_clock::now();
            } else if (ev.xcookie.evtype == XI_RawKeyRelease) {
                down_.reset(code);
            }
        }
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

int16_t KeyPoll::state(int vk) {
    // Without XInput2 there are no events to follow: every poll asks the server.
    if (xi_opcode_ < 0 || std::chrono::steady_clock::now() - synced_ >= kResyncEvery)
        resync();
    else
        drain();
    // After draining: a mapping change in the queue must not leave a stale keycode.
    const KeyCode code = keycode(vk);
    if (!code) return 0;  // a key the keyboard lacks is never pressed
    const bool down = down_[code];
    bool pressed = false;
    if (auto it = pressed_since_poll_.find(code); it != pressed_since_poll_.end()) {
        // A tap released before this poll still counts: a quick tap on the abort key must
        // never be missed because it fell between two polls (Windows would report 1 here).
        pressed = down || std::chrono::steady_clock::now() - it->second <= kTapWindow;
        pressed_since_poll_.erase(it);
    }
    if (pressed) return -32767;
    if (down) return -32768;
    return 0;
}

}  // namespace mavorin::x11
