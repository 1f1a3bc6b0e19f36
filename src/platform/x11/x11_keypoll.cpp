// The key poll: "down now" from the keymap, "pressed since the previous poll" from raw events.
#include <X11/XKBlib.h>
#include <X11/extensions/XInput2.h>
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

}  // namespace

KeyPoll::KeyPoll(Display* dpy) : dpy_(dpy) {
    int event, error;
    if (!XQueryExtension(dpy_, "XInputExtension", &xi_opcode_, &event, &error)) {
        xi_opcode_ = -1;
        return;
    }
    int major = 2, minor = 0;
    if (XIQueryVersion(dpy_, &major, &minor) != Success) {
        xi_opcode_ = -1;
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(dpy_, DefaultRootWindow(dpy_), &mask, 1);
    XFlush(dpy_);
}

void KeyPoll::drain() {
    while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (ev.type != GenericEvent || ev.xcookie.extension != xi_opcode_) continue;
        if (!XGetEventData(dpy_, &ev.xcookie)) continue;
        if (ev.xcookie.evtype == XI_RawKeyPress)
            pressed_since_poll_.insert(static_cast<XIRawEvent*>(ev.xcookie.data)->detail);
        XFreeEventData(dpy_, &ev.xcookie);
    }
}

int16_t KeyPoll::state(int vk) {
    drain();
    KeySym sym = vk_keysym(vk);
    KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(dpy_, sym);
    if (!code) return 0;  // a key the keyboard lacks is never pressed
    char keys[32];
    XQueryKeymap(dpy_, keys);
    const bool down = keys[code / 8] & (1 << (code % 8));
    const bool pressed = pressed_since_poll_.erase(code) > 0;
    // A tap that was released before this poll still counts as a press: a quick tap on the
    // abort key must never be missed because it fell between two polls.
    if (pressed) return -32767;
    if (down) return -32768;
    return 0;
}

}  // namespace mavorin::x11
