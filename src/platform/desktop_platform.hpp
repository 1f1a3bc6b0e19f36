// Every effect outside the window and every fact read from the desktop passes through here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mavorin {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A captured screen area: `left`, `top`, `right`, `bottom` are the desktop rectangle; pixels are
// 24-bit, row-major from the top, blue-green-red per pixel (as a Windows DIB stores them).
struct Bitmap {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> bgr;
    // Copies a w x h block from (x, y); pixels outside the source are black.
    Bitmap crop(int x, int y, int w, int h) const;
};

// The w x h block at desktop (x, y) of a screen grab, whose left and top place it on the desktop.
Bitmap desktop_block(const Bitmap& screen, int x, int y, int w, int h);

// Window rectangle in twips, as the form reports Left, Top, Width and Height.
struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Message box styles and answers (Windows values).
inline constexpr int kMbOk = 0;
inline constexpr int kMbYesNoQuestion = 36;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// A question with buttons of its own; Enter answers `default_button`, Escape and closing the
// box answer `cancel_button` (the default when -1).
struct Question {
    std::string text;
    std::vector<std::string> buttons;  // left to right; "&" marks a mnemonic
    int default_button = 0;
    int cancel_button = -1;
    // Shown below the text in full, scrolling when long (a list the user must be able to read).
    std::string details;
};

// Asked between the chunks of a long text: false stops typing there, with every key let go.
using KeepTyping = std::function<bool()>;

// Drive type of a CD-ROM drive.
inline constexpr int kDriveCdrom = 5;

// A key as one poll sees it: down now, and pressed since the previous poll of the same key.
struct KeyState {
    bool down = false;
    bool tapped = false;
    bool operator==(const KeyState&) const = default;
    // A fresh press; a key merely held, or pressed and let go again, does not count. A backend
    // may report a tap let go just before the poll as still down, so that it is not lost.
    bool pressed() const { return down && tapped; }
};

enum class PointerButton { left, middle, right };
enum class CdDoor { open, close };

// What the desktop and the operating system do: input, clipboard, power, devices, screen, files,
// facts. On Linux the X11 backend implements it; tests use the recording double.
class DeviceServices {
  public:
    virtual ~DeviceServices() = default;

    // Input devices.
    virtual Point get_cursor_pos() = 0;
    virtual void set_cursor_pos(int x, int y) = 0;
    // Presses (down) or releases a button at the current pointer position.
    virtual void mouse_button(PointerButton button, bool down) = 0;
    // `vk` is a Windows virtual-key code; the poll resets the key's tapped state.
    virtual KeyState key_state(int vk) = 0;
    // True when key_state(vk) would now answer as it did last time, with no press since: a poll
    // may then be skipped. A backend without key events never says so.
    virtual bool key_state_settled(int /*vk*/) { return false; }
    // A descriptor that turns readable when a key may have moved (-1: none), so that a caller
    // sleeping through settled polls knows when to look again.
    virtual int key_event_descriptor() { return -1; }
    // Brace notation ("+a {(}1{+}1{)}{ENTER}"), typed without waiting for the target. A long
    // text goes in chunks; between them `keep_going` (if set) may stop it. Returns false when
    // it was stopped.
    virtual bool send_keys(const std::string& text, const KeepTyping& keep_going) = 0;
    virtual void block_input(bool block) = 0;
    // Clears the clipboard, then puts the text on it.
    virtual void clipboard_set_text(const std::string& text) = 0;

    // Power and programs.
    virtual void lock_workstation() = 0;
    virtual void monitor_off() = 0;
    virtual void shutdown() = 0;
    virtual void reboot() = 0;
    virtual void run_program(const std::string& path) = 0;
    virtual void open_with_default_handler(const std::string& target) = 0;
    // Ends the process at once on a real desktop; a double records it and returns.
    virtual void end_program() = 0;

    // Devices, screen and images.
    // The roots to ask drive_type() about, in order ("A:\" .. "Z:\" on Windows, /dev/sr* here).
    virtual std::vector<std::string> drive_roots() = 0;
    virtual int drive_type(const std::string& root) = 0;
    // Opens or closes the tray of the drive at `drive` (one of drive_roots()).
    virtual void cd_door(const std::string& drive, CdDoor move) = 0;
    virtual Bitmap capture_screen() = 0;
    // The w x h block at desktop (x, y), with the same layout as a crop of capture_screen().
    // Backends that can grab a region alone override this; the default grabs the screen.
    virtual Bitmap capture_region(int x, int y, int w, int h);
    virtual bool save_bmp(const Bitmap& image, const std::string& path) = 0;
    // Returns 0 on success, otherwise a nonzero status.
    virtual int save_jpeg(const Bitmap& image, const std::string& path, int quality) = 0;

    // Files and start-up facts. Relative paths are resolved against current_folder().
    virtual bool file_exists(const std::string& path) = 0;
    // Text up to the first comma, CR or LF, as 8-bit characters; false if unreadable.
    virtual bool read_first_field(const std::string& path, std::string& field) = 0;
    // Absolute path of the current folder, without a trailing separator.
    virtual std::string current_folder() = 0;
    // The folder separator of default paths ("\" on Windows, "/" here).
    virtual std::string path_separator() = 0;
    // The text after the program name, unchanged.
    virtual std::string command_line() = 0;
    // The per-user folder of the program's own data (the trust store); "" when there is none.
    virtual std::string user_data_folder() = 0;
    virtual void seed_random_from_clock() = 0;
    // Uniform in [0, 1).
    virtual double random_fraction() = 0;
};

// What the window toolkit does for the main window: opacity, z-order, event passes,
// message boxes and file dialogs. On Linux the Qt view implements it.
class WindowServices {
  public:
    virtual ~WindowServices() = default;
    virtual void make_layered() = 0;
    virtual void set_alpha(int alpha) = 0;
    virtual void set_topmost(bool on) = 0;
    virtual void process_pending_events() = 0;
    // Returns the button pressed: kIdOk, kIdYes or kIdNo.
    virtual int message_box(const std::string& text, int style) = 0;
    // Returns the index of the button chosen.
    virtual int ask(const Question& question) = 0;
    virtual TwipRect window_rect_twips() = 0;
    // Dialog filter: alternating descriptions and patterns separated by "|"; "" when cancelled.
    virtual std::string open_file_dialog(const std::string& filter, const std::string& preset) = 0;
    virtual std::string save_file_dialog(const std::string& filter, const std::string& preset) = 0;
    virtual double twips_per_pixel_x() = 0;
    virtual double twips_per_pixel_y() = 0;
};

class DesktopPlatform : public DeviceServices, public WindowServices {};

// Resolves `path` against `folder` unless it is already absolute.
std::string resolve_path(const std::string& folder, const std::string& path);

// $XDG_DATA_HOME/mavorin, else $HOME/.local/share/mavorin; "" when neither is set.
std::string xdg_user_data_folder();
// This system's user data folder, for the command line, which runs before any platform exists.
// Defined by each build beside its platform.
std::string system_user_data_folder();

}  // namespace mavorin
