// The devices of a window that reaches no desktop: macros are edited, loaded and saved, but
// nothing is carried out (the window refuses to start a run).
#pragma once

#include <random>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin::qt {

class NoDesktopDevices : public DeviceServices {
  public:
    explicit NoDesktopDevices(std::vector<std::string> args);

    Point get_cursor_pos() override { return {}; }
    void set_cursor_pos(int, int) override { refuse("pointer"); }
    void mouse_button(PointerButton, bool) override { refuse("click"); }
    KeyState key_state(int) override { return {}; }
    bool send_keys(const std::string&, const KeepTyping&) override;
    void block_input(bool block) override;
    void clipboard_set_text(const std::string&) override { refuse("clipboard"); }
    void lock_workstation() override { refuse("lock"); }
    void monitor_off() override { refuse("screen off"); }
    void shutdown() override { refuse("shutdown"); }
    void reboot() override { refuse("reboot"); }
    void run_program(const std::string&) override { refuse("launch"); }
    void open_with_default_handler(const std::string&) override { refuse("launch"); }
    void end_program() override {}
    std::vector<std::string> drive_roots() override;
    int drive_type(const std::string& root) override;
    void cd_door(const std::string&, CdDoor) override { refuse("cd door"); }
    Bitmap capture_screen() override;
    bool save_bmp(const Bitmap&, const std::string&) override;
    int save_jpeg(const Bitmap&, const std::string&, int) override;
    bool file_exists(const std::string& path) override;
    bool read_first_field(const std::string& path, std::string& field) override;
    std::string current_folder() override;
    std::string path_separator() override { return "/"; }
    std::string command_line() override;
    std::string user_data_folder() override { return system_user_data_folder(); }
    void seed_random_from_clock() override;
    double random_fraction() override;

  private:
    void refuse(const char* operation);
    std::vector<std::string> args_;
    std::mt19937 random_;
};

}  // namespace mavorin::qt
