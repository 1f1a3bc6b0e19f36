// What the X server and the system offer the program, asked of them directly (mavorin --check).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/dpms.h>
#include <fcntl.h>
#include <glob.h>
#include <linux/cdrom.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/x11/x11_platform.hpp"

namespace mavorin::x11 {

namespace {

int ignore_errors(Display*, XErrorEvent*) {
    return 0;
}

std::string works(const std::string& how) {
    return "works: " + how;
}
std::string fails(const std::string& why) {
    return "does not work: " + why;
}

std::string version_text(int major, int minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

// Runs a program without a shell, its output discarded; true when it exits 0 in time. A program
// that takes too long is killed: nothing the check starts outlives it.
bool program_succeeds(const std::vector<std::string>& argv, std::chrono::milliseconds limit) {
    posix_spawn_file_actions_t files;
    if (posix_spawn_file_actions_init(&files) != 0) return false;
    for (int fd = 0; fd < 3; ++fd)
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &files, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (rc != 0) return false;
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool on_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string folders = path;
    for (size_t b = 0, e; b <= folders.size(); b = e + 1) {
        e = folders.find(':', b);
        if (e == std::string::npos) e = folders.size();
        const std::string file = folders.substr(b, e - b) + "/" + name;
        if (access(file.c_str(), X_OK) == 0) return true;
    }
    return false;
}

// Lock, shutdown and reboot go to logind on the system bus through busctl and loginctl.
std::string lock_and_power(bool& ok) {
    ok = false;
    if (!on_path("busctl")) return fails("busctl (systemd) is not installed");
    if (!on_path("loginctl")) return fails("loginctl (systemd) is not installed");
    if (!program_succeeds({"busctl", "--system", "call", "org.freedesktop.login1",
                           "/org/freedesktop/login1", "org.freedesktop.DBus.Peer", "Ping"},
                          std::chrono::seconds(3)))
        return fails("logind does not answer on the system bus");
    ok = true;
    return works("logind on the system bus");
}

std::string cd_door(bool& ok) {
    ok = false;
    glob_t g{};
    std::vector<std::string> drives;
    if (glob("/dev/sr[0-9]*", 0, nullptr, &g) == 0)
        for (size_t i = 0; i < g.gl_pathc; ++i) drives.push_back(g.gl_pathv[i]);
    globfree(&g);
    if (drives.empty()) return fails("no CD drive (/dev/sr*)");
    std::string problem;
    for (const auto& d : drives) {
        const int fd = open(d.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            problem = d + ": " + std::strerror(errno);
            continue;
        }
        const bool cd = ioctl(fd, CDROM_GET_CAPABILITY, 0) >= 0;
        close(fd);
        if (cd) {
            ok = true;
            return works(d);
        }
        problem = d + " is not a CD drive";
    }
    return fails(problem);
}

// The window manager's name, if it announces itself the EWMH way; "" when there is none.
std::string window_manager(Display* dpy, Window root) {
    const Atom check = XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, root, check, 0, 1, False, XA_WINDOW, &type, &format, &n, &after,
                           &data) != Success ||
        !data || n == 0) {
        if (data) XFree(data);
        return "";
    }
    const Window wm = *reinterpret_cast<Window*>(data);
    XFree(data);
    std::string name = "unnamed";
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    if (XGetWindowProperty(dpy, wm, XInternAtom(dpy, "_NET_WM_NAME", False), 0, 64, False, utf8,
                           &type, &format, &n, &after, &data) == Success &&
        data && n > 0)
        name.assign(reinterpret_cast<char*>(data), n);
    if (data) XFree(data);
    return name;
}

bool supports_above(Display* dpy, Window root) {
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(dpy, root, XInternAtom(dpy, "_NET_SUPPORTED", False), 0, 4096, False,
                           XA_ATOM, &type, &format, &n, &after, &data) == Success &&
        data) {
        const Atom above = XInternAtom(dpy, "_NET_WM_STATE_ABOVE", False);
        const auto* atoms = reinterpret_cast<Atom*>(data);
        for (unsigned long i = 0; i < n && !found; ++i) found = atoms[i] == above;
    }
    if (data) XFree(data);
    return found;
}

std::string opacity_on_top(Display* dpy, bool& ok) {
    const Window root = DefaultRootWindow(dpy);
    const std::string wm = window_manager(dpy, root);
    const std::string cm_name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(dpy));
    const bool compositor = XGetSelectionOwner(dpy, XInternAtom(dpy, cm_name.c_str(), False));
    const bool above = !wm.empty() && supports_above(dpy, root);
    ok = compositor && above;
    const std::string top = wm.empty() ? "no EWMH window manager for on-top"
                            : above    ? "window manager " + wm + " keeps windows on top"
                                       : "window manager " + wm + " has no on-top state";
    const std::string fade = compositor ? "a compositing manager" : "no compositing manager";
    return ok ? works(top + ", " + fade + " fades them")
              : fails(top + "; " + fade + " for opacity");
}

// Keycodes with no symbols: where characters outside the keymap are mapped for a moment.
int spare_keycodes(Display* dpy) {
    int low = 0, high = 0, per = 0;
    XDisplayKeycodes(dpy, &low, &high);
    KeySym* map = XGetKeyboardMapping(dpy, static_cast<KeyCode>(low), high - low + 1, &per);
    if (!map) return 0;
    int spare = 0;
    for (int k = 0; k <= high - low; ++k) {
        bool empty = true;
        for (int j = 0; j < per && empty; ++j) empty = map[k * per + j] == NoSymbol;
        spare += empty;
    }
    XFree(map);
    return spare;
}

// An X server with no client left resets itself and drops connections that arrive meanwhile
// (Xvfb without -noreset): try again for a moment then.
Display* open_display(const char* name) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        errno = 0;
        if (Display* dpy = XOpenDisplay(name)) return dpy;
        if (errno != ECONNRESET) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

}  // namespace

std::shared_ptr<void> hold_display() {
    const char* name = std::getenv("DISPLAY");
    Display* dpy = name && *name ? open_display(name) : nullptr;
    if (!dpy) return nullptr;
    return std::shared_ptr<void>(dpy, [](void* d) { XCloseDisplay(static_cast<Display*>(d)); });
}

DesktopCheck check_desktop(bool ask_system) {
    DesktopCheck c;
    c.backend = "x11";
    const char* name = std::getenv("DISPLAY");
    c.session = "X11 display " + std::string(name && *name ? name : "(DISPLAY is not set)");
    const char* type = std::getenv("XDG_SESSION_TYPE");
    c.session += ", session type " + std::string(type && *type ? type : "unknown");
    if (!name || !*name) return c;
    Display* dpy = open_display(name);
    if (!dpy) return c;
    c.display_opened = true;
    const std::unique_ptr<Display, int (*)(Display*)> closer(dpy, XCloseDisplay);
    const auto old_handler = XSetErrorHandler(ignore_errors);
    if (type && std::string(type) == "wayland")
        c.notes.push_back(
            "an X server inside a Wayland session (XWayland): input and capture "
            "reach only X11 windows");

    int ev, err, major = 0, minor = 0, opcode = 0;
    const bool xtest = XTestQueryExtension(dpy, &ev, &err, &major, &minor);
    const std::string no_xtest = fails("the X server has no XTEST extension");
    const std::string xtest_text = works("XTest " + version_text(major, minor));
    c.lines.push_back({Ability::pointer, xtest, xtest ? xtest_text : no_xtest});
    c.lines.push_back({Ability::clicks, xtest, xtest ? xtest_text : no_xtest});
    c.lines.push_back({Ability::keys, xtest, xtest ? xtest_text : no_xtest});
    const int spare = xtest ? spare_keycodes(dpy) : 0;
    c.lines.push_back({Ability::foreign_characters, xtest && spare > 0,
                       !xtest      ? no_xtest
                       : spare > 0 ? works("XTest, " + std::to_string(spare) +
                                           " spare keycodes to map them on for a moment")
                                   : fails("the keymap has no spare keycode to map them on")});

    int xi_major = 2, xi_minor = 2;
    const bool xi2 = XQueryExtension(dpy, "XInputExtension", &opcode, &ev, &err) &&
                     XIQueryVersion(dpy, &xi_major, &xi_minor) == Success && xi_major >= 2;
    const std::string xi_text = "XInput " + version_text(xi_major, xi_minor);
    c.lines.push_back({Ability::hot_keys, true,
                       xi2 ? works(xi_text + " raw key events")
                           : works("the keymap is polled (no XInput 2: a very short tap can be "
                                   "missed)")});

    c.lines.push_back({Ability::clipboard, true,
                       works("this program serves the X selection CLIPBOARD while it runs")});

    int shm_major = 0, shm_minor = 0;
    Bool pixmaps = False;
    if (XShmQueryVersion(dpy, &shm_major, &shm_minor, &pixmaps)) {
        c.lines.push_back({Ability::screen_capture, true,
                           works("MIT-SHM " + version_text(shm_major, shm_minor))});
    } else {
        XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, AllPlanes, ZPixmap);
        if (image) XDestroyImage(image);
        c.lines.push_back({Ability::screen_capture, image != nullptr,
                           image ? works("XGetImage (no MIT-SHM: slower)")
                                 : fails("the X server refuses to read the screen (XGetImage)")});
    }

    c.lines.push_back({Ability::input_block, xi2,
                       xi2 ? works(xi_text + " device grabs")
                           : fails("the X server has no XInput 2 to grab the devices")});

    bool ok = false;
    std::string why;
    if (ask_system) {
        why = lock_and_power(ok);
        c.lines.push_back({Ability::lock_and_power, ok, why});
    }

    const bool dpms = DPMSQueryExtension(dpy, &ev, &err) && DPMSCapable(dpy);
    c.lines.push_back(
        {Ability::monitor_off, dpms,
         dpms ? works("DPMS") : fails("the X server has no power management (DPMS)")});

    why = cd_door(ok);
    c.lines.push_back({Ability::cd_door, ok, why});

    why = opacity_on_top(dpy, ok);
    c.lines.push_back({Ability::opacity_on_top, ok, why});

    XSync(dpy, False);
    XSetErrorHandler(old_handler);
    return c;
}

}  // namespace mavorin::x11
