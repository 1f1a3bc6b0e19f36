// The X11 device backend: pointer, buttons, files, facts, and the factory.
#include "platform/x11/x11_platform.hpp"

#include <X11/extensions/XTest.h>
#include <X11/extensions/dpms.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "platform/image_files.hpp"
#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

std::unique_ptr<DeviceServices> make_x11_devices(const std::vector<std::string>& args) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return nullptr;
    int ev, err, major, minor;
    if (!XTestQueryExtension(dpy, &ev, &err, &major, &minor)) {
        XCloseDisplay(dpy);
        return nullptr;
    }
    return std::make_unique<X11Devices>(dpy, args);
}

X11Devices::X11Devices(Display* dpy, std::vector<std::string> args)
    : dpy_(dpy), args_(std::move(args)), keyboard_(dpy), keypoll_(dpy), capture_(dpy) {
    random_.seed(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

X11Devices::~X11Devices() {
    keyboard_.release_all();
    for (int b : buttons_down_) XTestFakeButtonEvent(dpy_, b, False, CurrentTime);
    guard_.block(dpy_, false);
    XFlush(dpy_);
}

Point X11Devices::get_cursor_pos() {
    Window root, child;
    int rx = 0, ry = 0, wx, wy;
    unsigned mask;
    XQueryPointer(dpy_, DefaultRootWindow(dpy_), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return {rx, ry};
}

void X11Devices::set_cursor_pos(int x, int y) {
    // The protocol carries 16 bits: clamp first, so that far-off positions end at the screen's
    // edge (as on Windows) instead of wrapping around.
    x = std::clamp(x, -32768, 32767);
    y = std::clamp(y, -32768, 32767);
    XTestFakeMotionEvent(dpy_, DefaultScreen(dpy_), x, y, CurrentTime);
    XFlush(dpy_);
}

void X11Devices::mouse_event(int flags) {
    // Windows flags to X buttons: left 1, middle 2, right 3.
    static const struct {
        int flag, button;
        bool down;
    } map[] = {{2, 1, true},   {4, 1, false}, {8, 3, true},
               {16, 3, false}, {32, 2, true}, {64, 2, false}};
    for (const auto& m : map) {
        if (!(flags & m.flag)) continue;
        XTestFakeButtonEvent(dpy_, m.button, m.down ? True : False, CurrentTime);
        if (m.down)
            buttons_down_.insert(m.button);
        else
            buttons_down_.erase(m.button);
    }
    XFlush(dpy_);
}

int16_t X11Devices::get_async_key_state(int vk) {
    return keypoll_.state(vk);
}

bool X11Devices::send_keys(const std::string& text, const KeepTyping&) {
    auto taps = parse_sendkeys(text);
    if (!taps) return true;  // a rejected text types nothing
    keyboard_.type(*taps);
    return true;
}

void X11Devices::block_input(bool block) {
    guard_.block(dpy_, block);
}

void X11Devices::lock_workstation() {
    spawn_detached({"loginctl", "lock-session"});
}

void X11Devices::monitor_off() {
    int ev, err;
    if (!DPMSQueryExtension(dpy_, &ev, &err) || !DPMSCapable(dpy_)) return;
    DPMSEnable(dpy_);
    DPMSForceLevel(dpy_, DPMSModeOff);
    XFlush(dpy_);
}

void X11Devices::shutdown() {
    spawn_detached({"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                    "org.freedesktop.login1.Manager", "PowerOff", "b", "false"});
}

void X11Devices::reboot() {
    spawn_detached({"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                    "org.freedesktop.login1.Manager", "Reboot", "b", "false"});
}

void X11Devices::run_program(const std::string& path) {
    if (path.empty()) return;
    std::error_code ec;
    const std::string file = resolve(path);
    if (std::filesystem::is_regular_file(file, ec) && access(file.c_str(), X_OK) == 0)
        spawn_detached({file});
    else
        spawn_detached({"/bin/sh", "-c", path});
}

void X11Devices::open_with_default_handler(const std::string& target) {
    spawn_detached({"xdg-open", target});
}

void X11Devices::end_program() {
    keyboard_.release_all();
    for (int b : buttons_down_) XTestFakeButtonEvent(dpy_, b, False, CurrentTime);
    guard_.block(dpy_, false);
    guard_.close_cleanly();
    XSync(dpy_, False);
    _exit(0);
}

std::string X11Devices::resolve(const std::string& path) {
    return resolve_path(current_folder(), path);
}

bool X11Devices::save_bmp(const Bitmap& image, const std::string& path) {
    auto bytes = encode_bmp(image);
    return write_file_replacing(resolve(path), std::string(bytes.begin(), bytes.end()));
}

int X11Devices::save_jpeg(const Bitmap& image, const std::string& path, int quality) {
    std::string bytes;
    int status = encode_jpeg(image, quality, bytes);
    if (status != 0) return status;
    // A file that cannot be written reports the library's generic failure.
    return write_file_replacing(resolve(path), bytes) ? 0 : 1;
}

bool X11Devices::file_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(resolve(path), ec);
}

bool X11Devices::read_first_field(const std::string& path, std::string& field) {
    return read_first_field_of_file(resolve(path), field);
}

std::string X11Devices::current_folder() {
    std::error_code ec;
    std::string p = std::filesystem::current_path(ec).string();
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

}  // namespace mavorin::x11

std::string mavorin::system_user_data_folder() {
    return xdg_user_data_folder();
}

namespace mavorin::x11 {

std::string X11Devices::command_line() {
    // As the Windows shell passes a file: each argument in double quotes, joined by blanks.
    std::string c;
    for (const auto& a : args_) {
        if (!c.empty()) c += ' ';
        c += '"' + a + '"';
    }
    return c;
}

void X11Devices::seed_random_from_clock() {
    random_.seed(
        static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
}

double X11Devices::random_fraction() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

Bitmap X11Devices::capture_screen() {
    return capture_.grab();
}

}  // namespace mavorin::x11
