// A platform made of a window toolkit and a device backend (Qt + X11 on Linux).
#pragma once

#include "platform/desktop_platform.hpp"

namespace mavorin {

class ComposedPlatform : public DesktopPlatform {
  public:
    ComposedPlatform(WindowServices& window, DeviceServices& devices)
        : win_(window), dev_(devices) {}

    Point get_cursor_pos() override { return dev_.get_cursor_pos(); }
    void set_cursor_pos(int x, int y) override { dev_.set_cursor_pos(x, y); }
    void mouse_button(PointerButton b, bool down) override { dev_.mouse_button(b, down); }
    KeyState key_state(int vk) override { return dev_.key_state(vk); }
    bool key_state_settled(int vk) override { return dev_.key_state_settled(vk); }
    int key_event_descriptor() override { return dev_.key_event_descriptor(); }
    bool send_keys(const std::string& text, const KeepTyping& keep_going) override {
        return dev_.send_keys(text, keep_going);
    }
    void block_input(bool block) override { dev_.block_input(block); }
    void clipboard_set_text(const std::string& text) override { dev_.clipboard_set_text(text); }
    void lock_workstation() override { dev_.lock_workstation(); }
    void monitor_off() override { dev_.monitor_off(); }
    void shutdown() override { dev_.shutdown(); }
    void reboot() override { dev_.reboot(); }
    void run_program(const std::string& path) override { dev_.run_program(path); }
    void open_with_default_handler(const std::string& t) override {
        dev_.open_with_default_handler(t);
    }
    void end_program() override { dev_.end_program(); }
    std::vector<std::string> drive_roots() override { return dev_.drive_roots(); }
    int drive_type(const std::string& root) override { return dev_.drive_type(root); }
    void cd_door(const std::string& drive, CdDoor move) override { dev_.cd_door(drive, move); }
    Bitmap capture_screen() override { return dev_.capture_screen(); }
    Bitmap capture_region(int x, int y, int w, int h) override {
        return dev_.capture_region(x, y, w, h);
    }
    bool save_bmp(const Bitmap& b, const std::string& path) override {
        return dev_.save_bmp(b, path);
    }
    int save_jpeg(const Bitmap& b, const std::string& path, int q) override {
        return dev_.save_jpeg(b, path, q);
    }
    bool file_exists(const std::string& path) override { return dev_.file_exists(path); }
    bool read_first_field(const std::string& path, std::string& f) override {
        return dev_.read_first_field(path, f);
    }
    std::string current_folder() override { return dev_.current_folder(); }
    std::string path_separator() override { return dev_.path_separator(); }
    std::string command_line() override { return dev_.command_line(); }
    std::string user_data_folder() override { return dev_.user_data_folder(); }
    void seed_random_from_clock() override { dev_.seed_random_from_clock(); }
    double random_fraction() override { return dev_.random_fraction(); }

    void make_layered() override { win_.make_layered(); }
    void set_alpha(int alpha) override { win_.set_alpha(alpha); }
    void set_topmost(bool on) override { win_.set_topmost(on); }
    void process_pending_events() override { win_.process_pending_events(); }
    int message_box(const std::string& text, int style) override {
        return win_.message_box(text, style);
    }
    int ask(const Question& q) override { return win_.ask(q); }
    TwipRect window_rect_twips() override { return win_.window_rect_twips(); }
    std::string open_file_dialog(const std::string& f, const std::string& p) override {
        return win_.open_file_dialog(f, p);
    }
    std::string save_file_dialog(const std::string& f, const std::string& p) override {
        return win_.save_file_dialog(f, p);
    }
    double twips_per_pixel_x() override { return win_.twips_per_pixel_x(); }
    double twips_per_pixel_y() override { return win_.twips_per_pixel_y(); }

  private:
    WindowServices& win_;
    DeviceServices& dev_;
};

}  // namespace mavorin
