// Blocking user input by disabling the physical devices (XTest keeps working). The disabled state
// outlives us, so a guard process forked at start-up re-enables the devices when we die.
#include <X11/Xatom.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

namespace {

bool has_property(Display* dpy, int id, const char* name) {
    Atom prop = XInternAtom(dpy, name, True);
    if (prop == None) return false;
    int count = 0;
    Atom* props = XIListProperties(dpy, id, &count);
    bool found = false;
    for (int i = 0; i < count; ++i) found = found || props[i] == prop;
    if (props) XFree(props);
    return found;
}

void set_enabled(Display* dpy, int id, bool on) {
    Atom prop = XInternAtom(dpy, "Device Enabled", False);
    unsigned char value = on ? 1 : 0;
    XIChangeProperty(dpy, id, prop, XA_INTEGER, 8, XIPropModeReplace, &value, 1);
}

// The user's own keyboards and pointers: every slave device that is not an XTest device.
std::vector<int> physical_devices(Display* dpy) {
    std::vector<int> ids;
    int n = 0;
    XIDeviceInfo* info = XIQueryDevice(dpy, XIAllDevices, &n);
    for (int i = 0; i < n; ++i) {
        const XIDeviceInfo& d = info[i];
        if (d.use != XISlavePointer && d.use != XISlaveKeyboard && d.use != XIFloatingSlave)
            continue;
        // Devices someone else disabled stay disabled when we free ours.
        if (!d.enabled || has_property(dpy, d.deviceid, "XTEST Device")) continue;
        ids.push_back(d.deviceid);
    }
    if (info) XIFreeDeviceInfo(info);
    return ids;
}

int ignore_errors(Display*, XErrorEvent*) {
    return 0;
}

// Keys and buttons pressed through XTest stay down when their client dies. Releasing through
// XTest touches only what the XTest devices hold, never what the user holds.
void release_xtest_input(Display* dpy) {
    char keys[32] = {};
    XQueryKeymap(dpy, keys);
    for (int code = 8; code < 256; ++code)
        if (keys[code / 8] & (1 << (code % 8))) XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    for (unsigned button = 1; button <= 5; ++button)
        XTestFakeButtonEvent(dpy, button, False, CurrentTime);
}

// The guard: remembers which devices are disabled; on end of the pipe it enables them. Without
// a goodbye first the program died mid-way, so it also lets go of keys it may have held.
[[noreturn]] void guard_main(int fd, const char* display_name) {
    std::vector<int> disabled;
    bool clean = false;
    std::string buffer;
    char chunk[256];
    while (true) {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        buffer.append(chunk, static_cast<size_t>(got));
        size_t nl;
        while ((nl = buffer.find('\n')) != std::string::npos) {
            const std::string text = buffer.substr(0, nl);
            buffer.erase(0, nl + 1);
            if (text == "bye") {
                clean = true;
                continue;
            }
            std::istringstream line(text);
            disabled.clear();
            int id;
            while (line >> id) disabled.push_back(id);
        }
    }
    if (!disabled.empty() || !clean) {
        if (Display* dpy = XOpenDisplay(display_name)) {
            XSetErrorHandler(ignore_errors);
            for (int id : disabled) set_enabled(dpy, id, true);
            if (!clean) release_xtest_input(dpy);
            XSync(dpy, False);
            XCloseDisplay(dpy);
        }
    }
    _exit(0);
}

}  // namespace

InputGuard::InputGuard() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    const char* env = getenv("DISPLAY");
    std::string display_name = env ? env : "";
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[1]);
        // Not the parent's X connection: the server must see the parent go when it dies.
        if (fds[0] > 3) close_range(3, fds[0] - 1, 0);
        close_range(fds[0] + 1, ~0U, 0);
        // Survive the terminal's signals: only the end of the pipe ends the guard.
        signal(SIGINT, SIG_IGN);
        signal(SIGHUP, SIG_IGN);
        signal(SIGTERM, SIG_IGN);
        guard_main(fds[0], display_name.empty() ? nullptr : display_name.c_str());
    }
    close(fds[0]);
    if (pid < 0) {
        close(fds[1]);
        return;
    }
    pipe_fd_ = fds[1];
    guard_pid_ = pid;
}

InputGuard::~InputGuard() {
    close_cleanly();
}

void InputGuard::close_cleanly() {
    tell_guard("bye");
    if (pipe_fd_ >= 0) close(pipe_fd_);
    pipe_fd_ = -1;
    if (guard_pid_ > 0) waitpid(guard_pid_, nullptr, 0);
    guard_pid_ = -1;
}

void InputGuard::tell_guard(const std::string& line) {
    if (pipe_fd_ < 0) return;
    const std::string msg = line + "\n";
    ssize_t ignored = write(pipe_fd_, msg.data(), msg.size());
    (void)ignored;
}

void InputGuard::block(Display* dpy, bool on) {
    if (on) {
        for (int id : physical_devices(dpy)) {
            set_enabled(dpy, id, false);
            disabled_.push_back(id);
        }
    } else {
        for (int id : disabled_) set_enabled(dpy, id, true);
        disabled_.clear();
    }
    XSync(dpy, False);
    std::string ids;
    for (int id : disabled_) ids += std::to_string(id) + " ";
    tell_guard(ids);
}

}  // namespace mavorin::x11
