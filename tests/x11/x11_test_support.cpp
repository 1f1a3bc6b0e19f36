// Target windows, shell commands and polling for the X11 tests.
#include "x11_test_support.hpp"

#include <X11/Xutil.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "keysym_text.hpp"
#include "platform/x11/x11_platform.hpp"

namespace mavorin::x11test {

void X11Test::SetUp() {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) GTEST_FAIL() << "these tests need DISPLAY set to an X server";
    XCloseDisplay(dpy);
    dev = x11::make_x11_devices({});
    ASSERT_TRUE(dev);
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

std::string buttons_down() {
    return shell(
        "xinput query-state 'Virtual core XTEST pointer' | "
        "sed -n 's/.*button\\[\\([0-9]*\\)\\]=down/\\1/p' | tr '\\n' ' '");
}

TargetWindow::TargetWindow(int x, int y, int w, int h, unsigned long rgb) {
    dpy_ = XOpenDisplay(nullptr);
    if (!dpy_) return;
    XSetWindowAttributes attr{};
    attr.override_redirect = True;
    attr.background_pixel = rgb;  // the 24-bit TrueColor visual of the test server
    attr.event_mask = KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    Window win =
        XCreateWindow(dpy_, DefaultRootWindow(dpy_), x, y, w, h, 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attr);
    XMapRaised(dpy_, win);
    XEvent ev;
    do XWindowEvent(dpy_, win, StructureNotifyMask, &ev);
    while (ev.type != MapNotify);
    XSetInputFocus(dpy_, win, RevertToParent, CurrentTime);
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
    if (const std::string text = keysym_text(sym); !text.empty()) return mods + text;
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

}  // namespace mavorin::x11test
