// The Windows backend: user32, gdi32, GDI+, winmm, kernel32, shell32, ole32 and WMI.
#pragma once

#include <windows.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"
#include "platform/sendkeys.hpp"

namespace mavorin::win32 {

// The extra info of every input this program synthesises, so that its recorder can drop it.
inline constexpr ULONG_PTR kOwnInputMark = 0x4D61766F;

class Win32Platform : public DesktopPlatform {
  public:
    // Reads the command line of the process (GetCommandLineW).
    Win32Platform();
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    // The main window: target of the window operations, owner of boxes and dialogs.
    void set_main_window(HWND hwnd) { main_ = hwnd; }
    HWND main_window() const { return main_; }
    // Releases every key and button this program pressed and frees blocked input.
    void release_all();

    // --- DeviceServices ---
    Point get_cursor_pos() override;
    void set_cursor_pos(int x, int y) override;
    void mouse_button(PointerButton button, bool down) override;
    KeyState key_state(int vk) override;
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
    bool save_bmp(const Bitmap& image, const std::string& path) override;
    int save_jpeg(const Bitmap& image, const std::string& path, int quality) override;
    bool file_exists(const std::string& path) override;
    bool read_first_field(const std::string& path, std::string& field) override;
    std::string current_folder() override;
    std::string path_separator() override { return "\\"; }
    std::string command_line() override { return command_line_; }
    std::string user_data_folder() override { return system_user_data_folder(); }
    void seed_random_from_clock() override;
    double random_fraction() override;

    // --- WindowServices ---
    void make_layered() override;
    void set_alpha(int alpha) override;
    void set_topmost(bool on) override;
    void process_pending_events() override;
    int message_box(const std::string& text, int style) override;
    int ask(const Question& question) override;
    TwipRect window_rect_twips() override;
    std::string open_file_dialog(const std::string& filter, const std::string& preset) override;
    std::string save_file_dialog(const std::string& filter, const std::string& preset) override;
    double twips_per_pixel_x() override;
    double twips_per_pixel_y() override;

  private:
    // One device command string; the open command gets a reply buffer.
    void mci_send(const std::string& command);
    // A path as the wide API wants it, relative ones resolved against the current folder.
    std::wstring resolve(const std::string& path);
    std::string file_dialog(bool save, const std::string& filter, const std::string& preset);

    HWND main_ = nullptr;
    std::string command_line_;
    std::mt19937 random_;
    std::set<WORD> keys_down_;
    int buttons_down_ = 0;  // mouse_event down flags not yet released
    bool input_blocked_ = false;
};

// The SendInput records that type `taps` (key downs and ups, modifiers around each tap).
std::vector<INPUT> key_inputs(const std::vector<KeyTap>& taps);

// True when running on Wine (ntdll exports wine_get_version).
bool running_on_wine();

}  // namespace mavorin::win32
