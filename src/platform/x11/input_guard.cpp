// Blocking user input with an XI2 grab of each physical slave device on the backend's own
// connection. A grabbed slave floats off its master: other clients see none of its input, XTest
// input (ours and other tools') still types and moves, and the raw key events in the grab's mask
// still reach the key poll, so the abort key and Ctrl+Alt+Del work. The server ends the grab when
// the connection closes, however the process dies; nothing is left for anyone to undo.
#include <X11/extensions/XInput2.h>

#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

namespace {

// The user's own keyboards and pointers: every slave device that is not an XTest device.
std::vector<int> physical_devices(Display* dpy) {
    std::vector<int> ids;
    int n = 0;
    XIDeviceInfo* info = XIQueryDevice(dpy, XIAllDevices, &n);
    for (int i = 0; i < n; ++i) {
        const XIDeviceInfo& d = info[i];
        if (d.use != XISlavePointer && d.use != XISlaveKeyboard && d.use != XIFloatingSlave)
            continue;
        if (!d.enabled || is_xtest_device(dpy, d.deviceid)) continue;
        ids.push_back(d.deviceid);
    }
    if (info) XIFreeDeviceInfo(info);
    return ids;
}

}  // namespace

bool is_xtest_device(Display* dpy, int id) {
    const Atom prop = XInternAtom(dpy, "XTEST Device", True);
    if (prop == None) return false;
    int count = 0;
    Atom* props = XIListProperties(dpy, id, &count);
    bool found = false;
    for (int i = 0; i < count; ++i) found = found || props[i] == prop;
    if (props) XFree(props);
    return found;
}

void InputGuard::block(Display* dpy, bool on) {
    if (on && grabbed_.empty()) {
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        for (int id : physical_devices(dpy)) {
            XIEventMask mask{id, sizeof bits, bits};
            // A device someone else holds already stays theirs.
            if (XIGrabDevice(dpy, id, DefaultRootWindow(dpy), CurrentTime, None, XIGrabModeAsync,
                             XIGrabModeAsync, False, &mask) == GrabSuccess)
                grabbed_.push_back(id);
        }
    } else if (!on) {
        for (int id : grabbed_) XIUngrabDevice(dpy, id, CurrentTime);
        grabbed_.clear();
    }
    XSync(dpy, False);
}

}  // namespace mavorin::x11
