// A platform double: records every call with the loop's time and answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "form/event_loop.hpp"
#include "platform/desktop_platform.hpp"

namespace mavorin {

struct PlatformCall {
    int64_t ms;        // loop time of the call
    std::string op;    // operation word, e.g. "set_cursor_pos"
    std::string args;  // arguments as printed by the dry run, e.g. "100 200"
};

// Operations that change the desktop (the ones a dry run prints); the rest only read from it.
bool is_desktop_operation(const std::string& op);

// Key states for scripts.
inline constexpr KeyState kKeyUp{false, false};
inline constexpr KeyState kKeyHeld{true, false};
inline constexpr KeyState kKeyTapped{true, true};
inline constexpr KeyState kKeyTappedAndLetGo{false, true};

class RecordingPlatform : public DesktopPlatform {
  public:
    // `folder` is the current folder; files (screenshots, code10.bmp) are really written there.
    RecordingPlatform(const form::EventLoop& clock, std::string folder);

    // --- the script ---
    Point cursor{0, 0};
    // Key states returned by successive polls of a key; an empty queue answers `key_idle`.
    std::map<int, std::deque<KeyState>> key_states;
    KeyState key_idle = kKeyUp;
    std::deque<int> message_box_answers;  // empty: Yes for questions, OK otherwise
    std::deque<int> ask_answers;          // button indexes; empty: the default button
    std::vector<Question> questions;      // every question asked
    std::deque<std::string> open_dialog_answers, save_dialog_answers;  // empty: cancelled
    std::vector<std::string> roots;          // drive_roots(); default empty
    std::map<std::string, int> drive_types;  // default 1 (no root dir)
    Bitmap screen;                           // what capture_screen() returns
    int jpeg_status = 0;                     // returned by save_jpeg
    bool write_jpeg_files = false;           // save_jpeg writes a BMP-encoded placeholder when set
    std::string cmdline;
    std::string data_folder;  // user_data_folder(): "user-data" in the current folder at first
    TwipRect window{0, 0, 7000, 7665};
    double twips_x = 15, twips_y = 15;
    std::string separator = "/";
    std::deque<double> random_values;  // empty: 0.5
    // send_keys asks keep_going after every `typing_chunk` bytes of its text (0: never).
    size_t typing_chunk = 0;

    // --- what happened ---
    std::vector<PlatformCall> calls;
    std::function<void(const PlatformCall&)> on_call;  // e.g. the dry-run printer
    std::vector<std::string> clipboard_history;
    std::vector<std::string> typed;  // what send_keys typed, each text up to where it stopped
    int alpha = 255;
    bool topmost = false;
    bool input_blocked = false;
    int ended = 0;  // end_program calls
    // Calls with this op, in order.
    std::vector<PlatformCall> calls_of(const std::string& op) const;
    void clear_calls() { calls.clear(); }

    // --- DesktopPlatform ---
    Point get_cursor_pos() override;
    void set_cursor_pos(int x, int y) override;
    void mouse_button(PointerButton button, bool down) override;
    KeyState key_state(int vk) override;
    bool send_keys(const std::string& text, const KeepTyping& keep_going) override;
    void block_input(bool block) override;
    void clipboard_set_text(const std::string& text) override;
    void make_layered() override;
    void set_alpha(int a) override;
    void set_topmost(bool on) override;
    void process_pending_events() override;
    int message_box(const std::string& text, int style) override;
    int ask(const Question& question) override;
    TwipRect window_rect_twips() override;
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
    // Recorded as a screen grab, but copies only the block.
    Bitmap capture_region(int x, int y, int w, int h) override;
    bool save_bmp(const Bitmap& image, const std::string& path) override;
    int save_jpeg(const Bitmap& image, const std::string& path, int quality) override;
    std::string open_file_dialog(const std::string& filter, const std::string& preset) override;
    std::string save_file_dialog(const std::string& filter, const std::string& preset) override;
    bool file_exists(const std::string& path) override;
    bool read_first_field(const std::string& path, std::string& field) override;
    double twips_per_pixel_x() override { return twips_x; }
    double twips_per_pixel_y() override { return twips_y; }
    std::string current_folder() override { return folder_; }
    std::string path_separator() override { return separator; }
    std::string command_line() override { return cmdline; }
    std::string user_data_folder() override { return data_folder; }
    void seed_random_from_clock() override;
    double random_fraction() override;

    void set_current_folder(std::string f) { folder_ = std::move(f); }

  private:
    void record(std::string op, std::string args = {});
    const form::EventLoop& clock_;
    std::string folder_;
};

}  // namespace mavorin
