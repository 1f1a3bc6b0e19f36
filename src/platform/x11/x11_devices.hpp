// The X11 device backend's pieces: one display connection shared by keyboard, pointer and screen.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XShm.h>

#include <array>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"
#include "platform/posix/picture_files.hpp"
#include "platform/sendkeys.hpp"
#include "platform/x11/x11_clipboard.hpp"
#include "platform/x11/x11_platform.hpp"

namespace mavorin::x11 {

// True for the XTest devices that carry synthetic input (ours and other clients').
bool is_xtest_device(Display* dpy, int id);

// Blocks the user's input: an XI2 grab of every physical slave device on our own connection. A
// grabbed slave floats off its master, so its input reaches nobody else while XTest input keeps
// working; the server drops the grab with the connection, however we die. The devices' enabled
// property is never touched: it would outlive us.
class InputGuard {
  public:
    void block(Display* dpy, bool on);
    const std::vector<int>& grabbed() const { return grabbed_; }

  private:
    std::vector<int> grabbed_;
};

// Tracks which keys are down and which were pressed since the previous poll, from XInput2 raw
// events of the master devices and of the slaves grabbed by the input block. Presses this program
// synthesised never count: the keyboard announces each fake event and its raw echo from the XTest
// device is dropped; XTest input of other clients counts. The keymap is asked for only now and
// then, to heal a lost event, so the idle hot-key poll costs no server round trip.
class KeyPoll {
  public:
    explicit KeyPoll(Display* dpy);
    KeyState state(int vk);
    // Whether state(vk) would repeat its last answer, with no press since.
    bool settled(int vk);
    // False without XInput2: then only polls see the keys.
    bool follows_events() const { return xi_opcode_ >= 0; }
    // Reads the queued raw events.
    void drain();
    // A fake key event we are about to send.
    void expect_own(KeyCode code, bool press);
    // Devices grabbed by the input block: the core keymap no longer shows their keys.
    void set_grabbed(const std::vector<int>& ids);
    // Called when someone else presses Ctrl+Alt+Del.
    std::function<void()> on_escape_chord;

  private:
    using Clock = std::chrono::steady_clock;
    void resync();
    void seen(int evtype, const XIRawEvent& ev);
    bool own(int code, bool press);
    KeyCode keycode(int vk);
    bool any_down(std::initializer_list<KeySym> syms);
    Display* dpy_;
    int xi_opcode_ = -1;
    std::set<int> xtest_ids_, grabbed_ids_;
    std::bitset<256> down_, grabbed_down_, foreign_down_;
    Clock::time_point synced_{};
    // Virtual key -> keycode, forgotten whenever the keyboard mapping changes.
    std::map<int, KeyCode> keycodes_;
    // Per keycode: the latest press by someone else since that key's previous poll, and when
    // that poll was.
    std::array<Clock::time_point, 256> pressed_at_{}, polled_at_{};
    std::bitset<256> pressed_;
    // The last answer of state() per virtual key.
    std::map<int, KeyState> reported_;
    // Per keycode and direction: when our announced fake events stop waiting for their echo.
    std::array<std::deque<Clock::time_point>, 512> own_;
};

// Presses keys through XTest and releases every key it pressed, whatever happens. Characters no
// key gives are mapped onto spare keycodes before typing and given back afterwards; a note in the
// runtime folder lets a later start give them back if we are killed first.
class Keyboard {
  public:
    Keyboard(Display* dpy, KeyPoll& poll);
    ~Keyboard();
    // Maps what the taps need; then type() them, in pieces, and finish().
    void prepare(const std::vector<KeyTap>& taps);
    // Sends taps [from, to); each tap reaches the server whole, so a kill never splits one.
    void type(const std::vector<KeyTap>& taps, size_t from, size_t to);
    // Lets the typed keys settle, then gives the spare keycodes back.
    void finish();
    void release_all();
    void give_back_map();
    // Called right after a paste chord (Ctrl+V, Shift+Insert) has reached the server.
    std::function<void()> after_paste;

  private:
    struct Stroke {
        KeyCode code = 0;
        bool shift = false;
        bool altgr = false;
    };
    bool find(KeySym sym, Stroke& s);
    void press(KeyCode code, bool down);
    void tap(const KeyTap& t);
    Display* dpy_;
    KeyPoll& poll_;
    std::set<KeyCode> pressed_;
    std::map<KeySym, KeyCode> remapped_;
    std::map<KeySym, Stroke> strokes_;  // how to type each keysym of the current text
    std::string note_;  // path of the note naming remapped_, empty when none is written
    KeyCode shift_ = 0, ctrl_ = 0, alt_ = 0, altgr_ = 0;
    unsigned altgr_mask_ = 0;
};

// The keycodes we remapped, noted in the runtime folder ($XDG_RUNTIME_DIR, else a private
// /tmp/mavorin-<uid>) before remapping; the note is removed once they are given back.
std::string write_keymap_note(Display* dpy, const std::map<KeySym, KeyCode>& remapped);
// Gives back what an instance that died left mapped on this display, and lets go of the keys
// it held through XTest.
void restore_left_over_keymaps(Display* dpy);
// Whether `fake_events` XTest events still fit into Xlib's output buffer.
bool output_has_room(Display* dpy, int fake_events);

// Copies the root window into a Bitmap, through a shared-memory image when the server allows.
class ScreenCapture {
  public:
    explicit ScreenCapture(Display* dpy) : dpy_(dpy) {}
    ~ScreenCapture();
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;
    Bitmap grab();
    // The w x h block at (x, y); pixels off the screen are black. Only that block is copied.
    Bitmap grab_region(int x, int y, int w, int h);

  private:
    // A shared-memory image kept for the next capture of the same size.
    struct Shm {
        XImage* image = nullptr;
        XShmSegmentInfo info{};
    };
    bool ensure_shm(Shm& shm, const XWindowAttributes& attr, int w, int h);
    void drop_shm(Shm& shm);
    void copy_block(Shm& shm, const XWindowAttributes& attr, int x, int y, int w, int h,
                    Bitmap& out);
    Display* dpy_;
    Shm full_, region_;  // the whole screen and the last region: a watch between screenshots
    XWindowAttributes root_{};
    std::chrono::steady_clock::time_point root_asked_{};
    bool shm_unusable_ = false;
};

class X11Devices : public DeviceServices {
  public:
    X11Devices(Display* dpy, std::vector<std::string> args);
    ~X11Devices() override;

    Point get_cursor_pos() override;
    void set_cursor_pos(int x, int y) override;
    void mouse_button(PointerButton button, bool down) override;
    KeyState key_state(int vk) override;
    bool key_state_settled(int vk) override;
    int key_event_descriptor() override;
    bool send_keys(const std::string& text, const KeepTyping& keep_going) override;
    void block_input(bool block) override;
    void clipboard_set_text(const std::string& text) override;
    void lock_workstation() override;
    void monitor_off() override;
    void shutdown() override;
    void reboot() override;
    void run_program(const std::string& path) override;
    void open_with_default_handler(const std::string& target) override;
    void end_program() override;
    std::vector<std::string> drive_roots() override;
    int drive_type(const std::string& root) override;
    void cd_door(const std::string& drive, CdDoor move) override;
    Bitmap capture_screen() override;
    Bitmap capture_region(int x, int y, int w, int h) override;
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
    void let_go();
    Display* dpy_;
    std::vector<std::string> args_;
    InputGuard guard_;
    KeyPoll keypoll_;
    Keyboard keyboard_;
    ScreenCapture capture_;
    PictureFiles pictures_;
    Clipboard clipboard_;
    uint64_t pastes_served_ = 0;  // clipboard requests answered before the current paste chord
    std::mt19937 random_;
    std::set<int> buttons_down_;
};

}  // namespace mavorin::x11
