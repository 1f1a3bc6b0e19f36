// Tells whether another client holds the physical input devices: tries to grab each one and
// prints "held" if any grab is refused, "free" if all succeed (they are let go at once), "none"
// if the server has no physical device.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cstdio>

int main() {
    Display* dpy = XOpenDisplay(nullptr);
    int major = 2, minor = 2;
    if (!dpy || XIQueryVersion(dpy, &major, &minor) != Success) return 1;
    const Atom xtest = XInternAtom(dpy, "XTEST Device", False);
    int n = 0, tried = 0, held = 0;
    XIDeviceInfo* info = XIQueryDevice(dpy, XIAllDevices, &n);
    for (int i = 0; i < n; ++i) {
        const int id = info[i].deviceid;
        if (info[i].use != XISlavePointer && info[i].use != XISlaveKeyboard &&
            info[i].use != XIFloatingSlave)
            continue;
        int count = 0;
        bool is_xtest = false;
        Atom* props = XIListProperties(dpy, id, &count);
        for (int k = 0; k < count; ++k) is_xtest = is_xtest || props[k] == xtest;
        if (props) XFree(props);
        if (is_xtest) continue;
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XIEventMask mask{id, sizeof bits, bits};
        ++tried;
        if (XIGrabDevice(dpy, id, DefaultRootWindow(dpy), CurrentTime, None, XIGrabModeAsync,
                         XIGrabModeAsync, False, &mask) == GrabSuccess)
            XIUngrabDevice(dpy, id, CurrentTime);
        else
            ++held;
    }
    XIFreeDeviceInfo(info);
    std::puts(tried == 0 ? "none" : held ? "held" : "free");
    XCloseDisplay(dpy);
}
