// The X11 device backend: pointer, buttons, files, facts, and the factory.
#include "platform/x11/x11_platform.hpp"

#include <X11/extensions/XTest.h>
#include <X11/extensions/dpms.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <limits>
#include <thread>

#include "platform/command_text.hpp"
#include "platform/image_files.hpp"
#include "platform/log.hpp"
#include "platform/x11/x11_devices.hpp"

namespace mavorin::x11 {

namespace {

// A long text goes in chunks; between them the caller may stop it (a chunk takes a few ms). What
// the server has queued for a target that reads more slowly than XTest types still arrives after
// a stop: a short text goes at full speed, a long one no faster than a slow client reads. (An
// xterm on Xvfb keeps pace even at full speed: it had all but the last line at a stop.)
constexpr size_t kChunkTaps = 500;
constexpr size_t kBurstTaps = 3000;
constexpr double kTapsPerSecond = 5000;
constexpr auto kWaitSlice = std::chrono::milliseconds(10);

class Pacer {
  public:
    // Waits one slice if `typed` taps are ahead of the pace; true if it waited.
    bool wait(size_t typed) {
        const double allowed =
            kBurstTaps +
            kTapsPerSecond * std::chrono::duration<double>(Clock::now() - start_).count();
        if (typed <= allowed) return false;
        const auto behind = std::chrono::duration<double>((typed - allowed) / kTapsPerSecond);
        std::this_thread::sleep_for(std::min<Clock::duration>(
            kWaitSlice, std::chrono::duration_cast<Clock::duration>(behind)));
        return true;
    }

  private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point start_ = Clock::now();
};

}  // namespace

std::unique_ptr<DeviceServices> make_x11_devices(const std::vector<std::string>& args) {
    XInitThreads();  // the clipboard is served from a thread of its own
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
    : dpy_(dpy), args_(std::move(args)), keypoll_(dpy), keyboard_(dpy, keypoll_), capture_(dpy) {
    restore_left_over_keymaps(dpy_);
    keypoll_.on_escape_chord = [this] { block_input(false); };
    // A paste chord waits until the target has fetched our text, so that the keys after it
    // land after the paste.
    keyboard_.after_paste = [this] {
        if (!clipboard_.owned()) return;
        clipboard_.wait_served(pastes_served_, std::chrono::milliseconds(200));
        pastes_served_ = clipboard_.served();
    };
    random_.seed(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

X11Devices::~X11Devices() {
    let_go();
}

void X11Devices::let_go() {
    keyboard_.release_all();
    keyboard_.give_back_map();
    for (int b : buttons_down_) XTestFakeButtonEvent(dpy_, b, False, CurrentTime);
    buttons_down_.clear();
    block_input(false);
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
    using Limit = std::numeric_limits<int16_t>;
    x = std::clamp<int>(x, Limit::min(), Limit::max());
    y = std::clamp<int>(y, Limit::min(), Limit::max());
    XTestFakeMotionEvent(dpy_, DefaultScreen(dpy_), x, y, CurrentTime);
    XFlush(dpy_);
}

void X11Devices::mouse_button(PointerButton button, bool down) {
    // X numbers the buttons left 1, middle 2, right 3.
    const int number = button == PointerButton::left ? 1 : button == PointerButton::middle ? 2 : 3;
    XTestFakeButtonEvent(dpy_, number, down ? True : False, CurrentTime);
    if (down)
        buttons_down_.insert(number);
    else
        buttons_down_.erase(number);
    XFlush(dpy_);
}

KeyState X11Devices::key_state(int vk) {
    return keypoll_.state(vk);
}

bool X11Devices::key_state_settled(int vk) {
    return keypoll_.settled(vk);
}

int X11Devices::key_event_descriptor() {
    return keypoll_.follows_events() ? ConnectionNumber(dpy_) : -1;
}

bool X11Devices::send_keys(const std::string& text, const KeepTyping& keep_going) {
    auto taps = parse_sendkeys(text);
    if (!taps) return true;  // a rejected text types nothing
    pastes_served_ = clipboard_.served();
    keyboard_.prepare(*taps);
    Pacer pacer;
    for (size_t at = 0; at < taps->size();) {
        const size_t end = std::min(taps->size(), at + kChunkTaps);
        keyboard_.type(*taps, at, end);
        at = end;
        keypoll_.drain();  // the echo of our own keys must not pile up

        if (at == taps->size()) break;
        do {
            if (termination_requested() || (keep_going && !keep_going())) {
                keyboard_.release_all();
                keyboard_.finish();
                return false;
            }
        } while (pacer.wait(at));
    }
    keyboard_.finish();
    return true;
}

void X11Devices::block_input(bool block) {
    guard_.block(dpy_, block);
    keypoll_.set_grabbed(guard_.grabbed());
}

void X11Devices::clipboard_set_text(const std::string& text) {
    clipboard_.set_text(text);
}

void X11Devices::lock_workstation() {
    spawn_detached("lock", {"loginctl", "lock-session"});
}

void X11Devices::monitor_off() {
    int ev, err;
    if (!DPMSQueryExtension(dpy_, &ev, &err) || !DPMSCapable(dpy_)) {
        log_failure("screen off", "the X server has no power management (DPMS)");
        return;
    }
    DPMSEnable(dpy_);
    DPMSForceLevel(dpy_, DPMSModeOff);
    XFlush(dpy_);
}

void X11Devices::shutdown() {
    spawn_detached("shutdown",
                   {"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                    "org.freedesktop.login1.Manager", "PowerOff", "b", "false"});
}

void X11Devices::reboot() {
    spawn_detached("reboot", {"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                              "org.freedesktop.login1.Manager", "Reboot", "b", "false"});
}

void launch_command_text(const std::string& text, const std::string& folder) {
    CommandLookup lookup;
    if (const char* path = getenv("PATH")) {
        std::string folders = path;
        for (size_t b = 0, e; b <= folders.size(); b = e + 1) {
            e = folders.find(':', b);
            if (e == std::string::npos) e = folders.size();
            lookup.path_folders.push_back(folders.substr(b, e - b));
        }
    }
    lookup.current_folder = folder;
    lookup.is_file = [](const std::string& p) {
        std::error_code ec;
        return std::filesystem::is_regular_file(utf8_path(p), ec);
    };
    lookup.is_executable = [&](const std::string& p) {
        return lookup.is_file(p) && access(p.c_str(), X_OK) == 0;
    };
    const Launch launch = split_command_text(text, lookup);
    if (launch.kind == Launch::Kind::program) {
        std::vector<std::string> argv{launch.file};
        argv.insert(argv.end(), launch.arguments.begin(), launch.arguments.end());
        spawn_detached("launch", argv);
    } else if (launch.kind == Launch::Kind::document) {
        spawn_detached("launch", {"xdg-open", launch.file});
    } else {
        log_failure("launch", text + ": no such program or file");
    }
}

void X11Devices::run_program(const std::string& text) {
    launch_command_text(text, current_folder());
}

void X11Devices::open_with_default_handler(const std::string& target) {
    spawn_detached("launch", {"xdg-open", target});
}

void X11Devices::end_program() {
    let_go();
    XSync(dpy_, False);
    clipboard_.hand_over(std::chrono::milliseconds(1500));
    _exit(0);
}

std::string X11Devices::resolve(const std::string& path) {
    return resolve_path(current_folder(), path);
}

bool X11Devices::save_bmp(const Bitmap& image, const std::string& path) {
    return pictures_.save_bmp(image, resolve(path));
}

int X11Devices::save_jpeg(const Bitmap& image, const std::string& path, int quality) {
    std::string bytes;
    int status = encode_jpeg(image, quality, bytes);
    if (status != 0) {
        log_failure("write " + path, "the picture cannot be encoded as JPEG");
        return status;
    }
    // A file that cannot be written reports the library's generic failure.
    return save_file(resolve(path), bytes, Durability::plain).ok() ? 0 : 1;
}

bool X11Devices::file_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(resolve(path), ec);
}

bool X11Devices::read_first_field(const std::string& path, std::string& field) {
    return pictures_.read_first_field(resolve(path), field);
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

Bitmap X11Devices::capture_region(int x, int y, int w, int h) {
    return capture_.grab_region(x, y, w, h);
}

}  // namespace mavorin::x11
