// Target windows, colour patches, shell commands and temporary folders for the X11 tests.
#include "x11_test_support.hpp"

#include <X11/Xutil.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <random>
#include <thread>

#include "platform/x11/x11_platform.hpp"

namespace mavorin::x11test {

namespace {

std::string utf8(unsigned long cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Keysym to Unicode without an input method: Latin-1, the Unicode range and the euro sign.
unsigned long keysym_char(KeySym sym) {
    if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) return sym;
    if ((sym & 0xFF000000) == 0x01000000) return sym & 0x00FFFFFF;
    if (sym == 0x20AC) return 0x20AC;
    return 0;
}

Window override_window(Display* dpy, int x, int y, int w, int h, unsigned long rgb, long mask) {
    XSetWindowAttributes attr{};
    attr.override_redirect = True;
    attr.background_pixel = rgb;  // the 24-bit TrueColor visual of the test server
    attr.event_mask = mask | StructureNotifyMask;
    Window win =
        XCreateWindow(dpy, DefaultRootWindow(dpy), x, y, w, h, 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attr);
    XMapRaised(dpy, win);
    XEvent ev;
    do XWindowEvent(dpy, win, StructureNotifyMask, &ev);
    while (ev.type != MapNotify);
    XSync(dpy, False);
    return win;
}

}  // namespace

bool display_available() {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return false;
    XCloseDisplay(dpy);
    return true;
}

std::unique_ptr<DeviceServices> make_devices(const std::vector<std::string>& args) {
    return x11::make_x11_devices(args);
}

std::string shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

bool wait_until(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

std::string xdotool_pointer() {
    return shell("xdotool getmouselocation | sed -E 's/x:([0-9]+) y:([0-9]+).*/\\1 \\2/'");
}

TargetWindow::TargetWindow(int x, int y, int w, int h, unsigned long rgb) {
    dpy_ = XOpenDisplay(nullptr);
    if (!dpy_) return;
    win_ =
        override_window(dpy_, x, y, w, h, rgb, KeyPressMask | ButtonPressMask | ButtonReleaseMask);
    XSetInputFocus(dpy_, win_, RevertToParent, CurrentTime);
    XSync(dpy_, False);
}

TargetWindow::~TargetWindow() {
    if (dpy_) XCloseDisplay(dpy_);
}

std::string TargetWindow::describe(XEvent& ev) {
    if (ev.type == ButtonPress) return "P" + std::to_string(ev.xbutton.button) + " ";
    if (ev.type == ButtonRelease) return "R" + std::to_string(ev.xbutton.button) + " ";
    if (ev.type != KeyPress) return "";
    char buf[16];
    KeySym sym = NoSymbol;
    XLookupString(&ev.xkey, buf, sizeof buf, &sym, nullptr);  // applies Shift and levels
    std::string mods;
    if (ev.xkey.state & ControlMask) mods += "^";
    if (ev.xkey.state & Mod1Mask) mods += "%";
    if (unsigned long cp = keysym_char(sym)) return mods + utf8(cp);
    const char* name = sym == NoSymbol ? "NoSymbol" : XKeysymToString(sym);
    const std::string n = name ? name : "?";
    for (const char* modifier : {"Shift", "Control", "Alt", "ISO_Level3", "Meta"})
        if (n.find(modifier) != std::string::npos) return "";
    return mods + "<" + n + ">";
}

std::string TargetWindow::log_while(const std::function<void()>& action, int quiet_ms) {
    std::string log;
    if (!dpy_) return log;
    // The action types on another connection while this one reads, as a live client would:
    // the typing side reverts its temporary key mappings soon after the last key.
    auto job = std::async(std::launch::async, action);
    const auto hard_end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto last = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < hard_end) {
        while (XPending(dpy_) > 0) {
            XEvent ev;
            XNextEvent(dpy_, &ev);
            log += describe(ev);
            last = std::chrono::steady_clock::now();
        }
        const bool finished = job.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        if (finished &&
            std::chrono::steady_clock::now() - last > std::chrono::milliseconds(quiet_ms))
            break;
        pollfd pfd{ConnectionNumber(dpy_), POLLIN, 0};
        poll(&pfd, 1, 10);
    }
    job.get();
    return log;
}

ColourPatch::ColourPatch(int x, int y, int w, int h, unsigned long rgb) {
    dpy_ = XOpenDisplay(nullptr);
    if (dpy_) override_window(dpy_, x, y, w, h, rgb, ExposureMask);
}

ColourPatch::~ColourPatch() {
    if (dpy_) XCloseDisplay(dpy_);
}

TempFolder::TempFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("mavorin-x11-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
}

}  // namespace mavorin::x11test
