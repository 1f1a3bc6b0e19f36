// The Wayland device backend: virtual pointer and keyboard, screencopy, and the X-free services.
#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "platform/image_files.hpp"
#include "platform/log.hpp"
#include "platform/posix/picture_files.hpp"
#include "platform/wayland/wayland_clipboard.hpp"
#include "platform/wayland/wayland_connection.hpp"
#include "platform/wayland/wayland_keymap.hpp"
#include "platform/wayland/wayland_platform.hpp"
#include "platform/x11/x11_platform.hpp"

namespace mavorin::wayland {

namespace {

// Taps between two round trips that let the compositor catch up.
constexpr size_t kChunkTaps = 500;

uint32_t now_ms() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Ctrl+V and Shift+Insert: the keys after them must wait until the target has our text.
bool is_paste(const KeyTap& t) {
    if ((t.mods & kModCtrl) && !(t.mods & kModAlt) && (t.ch == 'v' || t.ch == 'V')) return true;
    return (t.mods & kModShift) && !(t.mods & kModCtrl) && t.key == NamedKey::Insert && !t.ch;
}

// A shared-memory buffer the compositor copies a frame into.
struct ShmBuffer {
    int fd = -1;
    size_t size = 0;
    uint8_t* data = nullptr;
    wl_buffer* buffer = nullptr;

    bool create(wl_shm* shm, uint32_t format, int w, int h, int stride) {
        size = static_cast<size_t>(stride) * h;
        fd = memfd_create("mavorin-capture", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(size)) != 0) return false;
        void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (p == MAP_FAILED) return false;
        data = static_cast<uint8_t*>(p);
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(size));
        buffer = wl_shm_pool_create_buffer(pool, 0, w, h, stride, format);
        wl_shm_pool_destroy(pool);
        return true;
    }
    ~ShmBuffer() {
        if (buffer) wl_buffer_destroy(buffer);
        if (data) munmap(data, size);
        if (fd >= 0) close(fd);
    }
};

struct Frame {
    uint32_t format = 0, width = 0, height = 0, stride = 0, flags = 0;
    bool buffer_known = false, ready = false, failed = false;
};

void frame_buffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t w, uint32_t h,
                  uint32_t stride) {
    auto* f = static_cast<Frame*>(data);
    *f = {format, w, h, stride, f->flags, true, false, false};
}
void frame_flags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
    static_cast<Frame*>(data)->flags = flags;
}
void frame_ready(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
    static_cast<Frame*>(data)->ready = true;
}
void frame_failed(void* data, zwlr_screencopy_frame_v1*) {
    static_cast<Frame*>(data)->failed = true;
}
void frame_damage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void frame_dmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}
void frame_done(void*, zwlr_screencopy_frame_v1*) {}

const zwlr_screencopy_frame_v1_listener kFrameListener = {
    frame_buffer, frame_flags, frame_ready, frame_failed, frame_damage, frame_dmabuf, frame_done};

// Copies a captured frame into `out` at (ox, oy); 32-bit formats of either channel order.
void paste_frame(const Frame& f, const uint8_t* pixels, Bitmap& out, int ox, int oy) {
    const bool rgb_order = f.format == WL_SHM_FORMAT_XBGR8888 || f.format == WL_SHM_FORMAT_ABGR8888;
    const bool invert = f.flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
    for (uint32_t y = 0; y < f.height; ++y) {
        const int ty = oy + static_cast<int>(y);
        if (ty < 0 || ty >= out.height) continue;
        const uint8_t* s = pixels + static_cast<size_t>(invert ? f.height - 1 - y : y) * f.stride;
        for (uint32_t x = 0; x < f.width; ++x, s += 4) {
            const int tx = ox + static_cast<int>(x);
            if (tx < 0 || tx >= out.width) continue;
            uint8_t* d = &out.bgr[(static_cast<size_t>(ty) * out.width + tx) * 3];
            d[0] = rgb_order ? s[2] : s[0];
            d[1] = s[1];
            d[2] = rgb_order ? s[0] : s[2];
        }
    }
}

class WaylandDevices : public DeviceServices {
  public:
    WaylandDevices(std::unique_ptr<Connection> link, std::vector<std::string> args)
        : link_(std::move(link)), args_(std::move(args)) {
        pointer_ =
            zwlr_virtual_pointer_manager_v1_create_virtual_pointer(link_->pointers, link_->seat);
        keyboard_ =
            zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(link_->keyboards, link_->seat);
        clipboard_ok_ = clipboard_.start();
        random_.seed(
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    }
    ~WaylandDevices() override {
        let_go();
        zwlr_virtual_pointer_v1_destroy(pointer_);
        zwp_virtual_keyboard_v1_destroy(keyboard_);
        link_->flush();
    }

    // The compositor tells nobody where the pointer is: this is where we put it last.
    Point get_cursor_pos() override { return cursor_; }

    void set_cursor_pos(int x, int y) override {
        int left, top, width, height;
        link_->layout(left, top, width, height);
        if (width <= 0 || height <= 0) return;
        // Far-off positions end at the edge, as on the other desktops.
        x = std::clamp(x, left, left + width - 1);
        y = std::clamp(y, top, top + height - 1);
        cursor_ = {x, y};
        zwlr_virtual_pointer_v1_motion_absolute(
            pointer_, now_ms(), static_cast<uint32_t>(x - left), static_cast<uint32_t>(y - top),
            static_cast<uint32_t>(width), static_cast<uint32_t>(height));
        zwlr_virtual_pointer_v1_frame(pointer_);
        link_->flush();
    }

    void mouse_button(PointerButton button, bool down) override {
        const uint32_t code = button == PointerButton::left     ? BTN_LEFT
                              : button == PointerButton::middle ? BTN_MIDDLE
                                                                : BTN_RIGHT;
        zwlr_virtual_pointer_v1_button(
            pointer_, now_ms(), code,
            down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(pointer_);
        if (down)
            buttons_down_.insert(code);
        else
            buttons_down_.erase(code);
        link_->flush();
    }

    // No global key state on Wayland: the hot keys come through instance control.
    KeyState key_state(int) override { return {}; }

    bool send_keys(const std::string& text, const KeepTyping& keep_going) override {
        auto taps = parse_sendkeys(text);
        if (!taps) return true;  // a rejected text types nothing
        uint64_t pastes_served = clipboard_.served();
        for (size_t at = 0; at < taps->size();) {
            // A keymap holding what comes next; a text with more different characters than keys
            // goes on with a new one.
            Keymap next;
            next.add(tap_keysym((*taps)[at]));
            size_t end = at + 1;
            while (end < taps->size() && end - at < kChunkTaps &&
                   next.add(tap_keysym((*taps)[end])))
                ++end;
            if (!upload(next)) return true;
            // Each tap goes out whole, so that a kill never leaves half of one (a held Shift).
            for (size_t i = at; i < end; ++i) {
                tap((*taps)[i]);
                link_->flush();
                if (is_paste((*taps)[i]) && clipboard_.owned()) {
                    clipboard_.wait_served(pastes_served, std::chrono::milliseconds(200));
                    pastes_served = clipboard_.served();
                }
            }
            at = end;
            // Lets the compositor take what was sent before more goes.
            wl_display_roundtrip(link_->display);
            if (at < taps->size() &&
                (x11::termination_requested() || (keep_going && !keep_going()))) {
                release_all();
                return false;
            }
        }
        link_->flush();
        return true;
    }

    void block_input(bool) override {}  // no client may block the user's input on Wayland

    void clipboard_set_text(const std::string& text) override {
        if (clipboard_ok_)
            clipboard_.set_text(text);
        else
            log_failure("clipboard", "the compositor offers no data control");
    }

    void lock_workstation() override { x11::spawn_detached("lock", {"loginctl", "lock-session"}); }
    void monitor_off() override {
        log_failure("screen off", "a Wayland client cannot switch the screen off");
    }
    void shutdown() override {
        x11::spawn_detached("shutdown",
                            {"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                             "org.freedesktop.login1.Manager", "PowerOff", "b", "false"});
    }
    void reboot() override {
        x11::spawn_detached("reboot",
                            {"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                             "org.freedesktop.login1.Manager", "Reboot", "b", "false"});
    }
    void run_program(const std::string& text) override {
        x11::launch_command_text(text, current_folder());
    }
    void open_with_default_handler(const std::string& target) override {
        x11::spawn_detached("launch", {"xdg-open", target});
    }
    void end_program() override {
        let_go();
        wl_display_roundtrip(link_->display);
        _exit(0);
    }
    std::vector<std::string> drive_roots() override { return x11::cd_drive_roots(); }
    int drive_type(const std::string& root) override { return x11::cd_drive_type(root); }
    void cd_door(const std::string& drive, CdDoor move) override { x11::move_cd_door(drive, move); }

    Bitmap capture_screen() override {
        Bitmap out;
        int left, top, width, height;
        link_->layout(left, top, width, height);
        start_bitmap(out, left, top, width, height);
        for (const Output* o : link_->outputs)
            capture(o, false, 0, 0, 0, 0, out, o->x - left, o->y - top);
        return out;
    }

    Bitmap capture_region(int x, int y, int w, int h) override {
        // One output holding the whole block copies only the block.
        for (const Output* o : link_->outputs) {
            if (o->scale != 1 || w <= 0 || h <= 0 || x < o->x || y < o->y ||
                x + w > o->x + o->layout_width() || y + h > o->y + o->layout_height())
                continue;
            Bitmap out;
            start_bitmap(out, x, y, w, h);
            if (capture(o, true, x - o->x, y - o->y, w, h, out, 0, 0)) return out;
        }
        return DeviceServices::capture_region(x, y, w, h);
    }

    bool save_bmp(const Bitmap& image, const std::string& path) override {
        return pictures_.save_bmp(image, resolve(path));
    }
    int save_jpeg(const Bitmap& image, const std::string& path, int quality) override {
        std::string bytes;
        if (const int status = x11::encode_jpeg(image, quality, bytes); status != 0) {
            log_failure("write " + path, "the picture cannot be encoded as JPEG");
            return status;
        }
        return save_file(resolve(path), bytes, Durability::plain).ok() ? 0 : 1;
    }
    bool file_exists(const std::string& path) override {
        std::error_code ec;
        return !path.empty() && std::filesystem::is_regular_file(resolve(path), ec);
    }
    bool read_first_field(const std::string& path, std::string& field) override {
        return pictures_.read_first_field(resolve(path), field);
    }
    std::string current_folder() override {
        std::error_code ec;
        std::string p = std::filesystem::current_path(ec).string();
        while (p.size() > 1 && p.back() == '/') p.pop_back();
        return p;
    }
    std::string path_separator() override { return "/"; }
    std::string command_line() override {
        std::string c;
        for (const auto& a : args_) c += (c.empty() ? "\"" : " \"") + a + "\"";
        return c;
    }
    std::string user_data_folder() override { return xdg_user_data_folder(); }
    void seed_random_from_clock() override {
        random_.seed(
            static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    }
    double random_fraction() override {
        return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
    }

  private:
    PictureFiles pictures_;
    std::string resolve(const std::string& path) { return resolve_path(current_folder(), path); }

    static void start_bitmap(Bitmap& b, int x, int y, int w, int h) {
        b.left = x;
        b.top = y;
        b.right = x + w;
        b.bottom = y + h;
        b.width = std::max(0, w);
        b.height = std::max(0, h);
        b.bgr.assign(static_cast<size_t>(b.width) * b.height * 3, 0);
    }

    // Copies one output (or a block of it) into `out` at (ox, oy); false when it failed.
    bool capture(const Output* o, bool region, int x, int y, int w, int h, Bitmap& out, int ox,
                 int oy) {
        if (!link_->screencopy || !link_->shm) return false;
        Frame f;
        zwlr_screencopy_frame_v1* frame =
            region ? zwlr_screencopy_manager_v1_capture_output_region(link_->screencopy, 0,
                                                                      o->output, x, y, w, h)
                   : zwlr_screencopy_manager_v1_capture_output(link_->screencopy, 0, o->output);
        zwlr_screencopy_frame_v1_add_listener(frame, &kFrameListener, &f);
        while (!f.buffer_known && !f.failed && wl_display_roundtrip(link_->display) >= 0) {
        }
        ShmBuffer shm;
        bool ok = false;
        if (f.buffer_known && f.stride >= f.width * 4 &&
            shm.create(link_->shm, f.format, static_cast<int>(f.width), static_cast<int>(f.height),
                       static_cast<int>(f.stride))) {
            zwlr_screencopy_frame_v1_copy(frame, shm.buffer);
            // An output that shows no new frame (switched off) must not hang the macro.
            const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
            while (!f.ready && !f.failed && std::chrono::steady_clock::now() < give_up &&
                   link_->dispatch_for(500)) {
            }
            if (f.ready) {
                paste_frame(f, shm.data, out, ox, oy);
                ok = true;
            }
        }
        if (!ok) log_failure("screen capture", "the compositor did not copy the screen");
        zwlr_screencopy_frame_v1_destroy(frame);
        return ok;
    }

    bool upload(const Keymap& map) {
        if (keymap_uploaded_ && map == keymap_) return true;
        const std::string text = map.text();
        const int fd = memfd_create("mavorin-keymap", MFD_CLOEXEC);
        if (fd < 0 || write(fd, text.c_str(), text.size() + 1) != ssize_t(text.size() + 1)) {
            if (fd >= 0) close(fd);
            log_failure("type", "the keymap cannot be written");
            return false;
        }
        release_all();
        zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<uint32_t>(text.size() + 1));
        close(fd);
        keymap_ = map;
        keymap_uploaded_ = true;
        // The first key after a new keymap is lost unless the compositor has taken the keymap
        // and passed it on before that key comes.
        wl_display_roundtrip(link_->display);
        return true;
    }

    void key(uint32_t code, bool down) {
        zwp_virtual_keyboard_v1_key(
            keyboard_, now_ms(), code,
            down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
        if (down)
            keys_down_.insert(code);
        else
            keys_down_.erase(code);
    }

    // The compositor takes the modifier state from this request, not from the keys.
    void modifiers(uint32_t mask) {
        zwp_virtual_keyboard_v1_modifiers(keyboard_, mask, 0, 0, 0);
        mods_ = mask;
    }

    void tap(const KeyTap& t) {
        const uint32_t sym = tap_keysym(t);
        if (!sym || !keymap_.has(sym)) return;
        const KeyPlace place = keymap_.place(sym);
        uint32_t mask = 0;
        std::vector<uint32_t> held;
        auto hold = [&](uint32_t k, uint32_t m) {
            key(k, true);
            held.push_back(k);
            mask |= m;
            modifiers(mask);
        };
        if (t.mods & kModCtrl) hold(kControlKey, kControlMask);
        if (t.mods & kModAlt) hold(kAltKey, kMod1Mask);
        if ((t.mods & kModShift) || place.shift) hold(kShiftKey, kShiftMask);
        key(place.key, true);
        key(place.key, false);
        for (auto k = held.rbegin(); k != held.rend(); ++k) key(*k, false);
        if (mask) modifiers(0);
    }

    void release_all() {
        if (!keymap_uploaded_) return;
        for (uint32_t k : std::set<uint32_t>(keys_down_)) key(k, false);
        if (mods_) modifiers(0);
        link_->flush();
    }

    void let_go() {
        release_all();
        for (uint32_t b : std::set<uint32_t>(buttons_down_))
            mouse_button(b == BTN_LEFT     ? PointerButton::left
                         : b == BTN_MIDDLE ? PointerButton::middle
                                           : PointerButton::right,
                         false);
        link_->flush();
    }

    std::unique_ptr<Connection> link_;
    std::vector<std::string> args_;
    zwlr_virtual_pointer_v1* pointer_ = nullptr;
    zwp_virtual_keyboard_v1* keyboard_ = nullptr;
    Clipboard clipboard_;
    bool clipboard_ok_ = false;
    Keymap keymap_;
    bool keymap_uploaded_ = false;
    std::set<uint32_t> keys_down_, buttons_down_;
    uint32_t mods_ = 0;
    Point cursor_;
    std::mt19937 random_;
};

}  // namespace

std::unique_ptr<DeviceServices> make_wayland_devices(const std::vector<std::string>& args) {
    auto link = std::make_unique<Connection>();
    if (!link->open() || !link->seat || !link->pointers || !link->keyboards) return nullptr;
    return std::make_unique<WaylandDevices>(std::move(link), args);
}

bool compositor_offers_input() {
    Connection link;
    return link.open() && link.pointers && link.keyboards;
}

}  // namespace mavorin::wayland
