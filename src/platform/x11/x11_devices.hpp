// The X11 device backend's pieces: one display connection shared by keyboard, pointer and screen.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <bitset>
#include <chrono>
#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"
#include "platform/sendkeys.hpp"

namespace mavorin::x11 {

// Disables the user's physical input devices; a guard process re-enables them if we die.
class InputGuard {
  public:
    InputGuard();
    ~InputGuard();
    void block(Display* dpy, bool on);
    // Ends the guard after an orderly shutdown (the devices must already be enabled).
    void close_cleanly();

  private:
    void tell_guard(const std::string& line);
    int pipe_fd_ = -1;
    int guard_pid_ = -1;
    std::vector<int> disabled_;
};

// Presses keys through XTest and releases every key it pressed, whatever happens.
class Keyboard {
  public:
    explicit Keyboard(Display* dpy) : dpy_(dpy) {}
    ~Keyboard() { release_all(); }
    void type(const std::vector<KeyTap>& taps);
    void release_all();

  private:
    struct Stroke {
        KeyCode code = 0;
        bool shift = false;
        bool altgr = false;
    };
    bool find(KeySym sym, Stroke& s);
    void press(KeyCode code, bool down);
    Display* dpy_;
    std::set<KeyCode> pressed_;
};

// Tracks which keys are down and which were pressed since the previous poll, from XInput2 raw
// events on the root window. The keymap is asked for only now and then, to heal a lost event, so
// the idle hot-key poll costs no server round trip.
class KeyPoll {
  public:
    explicit KeyPoll(Display* dpy);
    int16_t state(int vk);

  private:
    void drain();
    void resync();
    Display* dpy_;
    int xi_opcode_ = -1;
    KeyCode keycode(int vk);
    std::bitset<256> down_;
    std::chrono::steady_clock::time_point synced_{};
    // Virtual key -> keycode, forgotten whenever the keyboard mapping changes.
    std::map<int, KeyCode> keycodes_;
    // Keycode -> when its latest raw press was drained.
    std::map<int, std::chrono::steady_clock::time_point> pressed_since_poll_;
};

// Copies the root window into a Bitmap, through a shared-memory image when the server allows.
class ScreenCapture {
  public:
    explicit ScreenCapture(Display* dpy) : dpy_(dpy) {}
    ~ScreenCapture();
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;
    Bitmap grab();

  private:
    bool ensure_shm(const XWindowAttributes& attr);
    void drop_shm();
    Display* dpy_;
    XImage* shm_image_ = nullptr;
    XShmSegmentInfo shm_{};
    bool shm_unusable_ = false;
};

class X11Devices : public DeviceServices {
  public:
    X11Devices(Display* dpy, std::vector<std::string> args);
    ~X11Devices() override;

    Point get_cursor_pos() override;
    void set_cursor_pos(int x, int y) override;
    void mouse_event(int flags) override;
    int16_t get_async_key_state(int vk) override;
    bool send_keys(const std::string& text, const KeepTyping& keep_going) override;
    void block_input(bool block) override;
    void lock_workstation() override;
    void monitor_off() override;
    void shutdown() override;
    void reboot() override;
    void run_program(const std::string& path) override;
    void open_with_default_handler(const std::string& target) override;
    void end_program() override;
    std::vector<std::string> drive_roots() override;
    int drive_type(const std::string& root) override;
    void mci_send(const std::string& command) override;
    Bitmap capture_screen() override;
    bool save_bmp(const Bitmap& image, const std::string& path) override;
    int save_jpeg(const Bitmap& image, const std::string& path, int quality) override;
    bool file_exists(const std::string& path) override;
    bool read_first_field(const std::string& path, std::string& field) override;
    std::string current_folder() override;
    std::string path_separator() override { return "/"; }
    std::string command_line() override;
    std::string user_data_folder() override { return xdg_user_data_folder(); }
    void seed_random_from_clock() override;
    double random_fraction() override;

  private:
    std::string resolve(const std::string& path);
    Display* dpy_;
    std::vector<std::string> args_;
    InputGuard guard_;
    Keyboard keyboard_;
    KeyPoll keypoll_;
    ScreenCapture capture_;
    std::map<std::string, std::string> cd_aliases_;
    std::mt19937 random_;
    std::set<int> buttons_down_;
};

// Starts a program detached from us (its own session, never awaited).
void spawn_detached(const std::vector<std::string>& argv);
// Encodes 24-bit BGR pixels as JPEG; 0 on success, otherwise a nonzero status.
int encode_jpeg(const Bitmap& image, int quality, std::string& out);

}  // namespace mavorin::x11
