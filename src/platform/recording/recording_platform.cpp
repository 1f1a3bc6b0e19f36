// The recording double: scripted answers, every call kept with its loop time.
#include "platform/recording/recording_platform.hpp"

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/image_files.hpp"

namespace mavorin {

bool is_desktop_operation(const std::string& op) {
    static const std::set<std::string> ops = {
        "set_cursor_pos", "mouse_event",      "send_keys",   "clipboard_set",
        "block_input",    "lock_workstation", "monitor_off", "shutdown",
        "reboot",         "message_box",      "run_program", "cd_door",
        "capture_screen", "save_bmp",         "save_jpeg",   "end_program"};
    return ops.count(op) > 0;
}

RecordingPlatform::RecordingPlatform(const form::EventLoop& clock, std::string folder)
    : clock_(clock), folder_(std::move(folder)) {
    data_folder = folder_ + "/user-data";
    screen.right = screen.width = 1920;
    screen.bottom = screen.height = 1080;
    screen.bgr.assign(1920u * 1080u * 3u, 0);
}

void RecordingPlatform::record(std::string op, std::string args) {
    calls.push_back({clock_.now_ms(), std::move(op), std::move(args)});
    if (on_call) on_call(calls.back());
}

std::vector<PlatformCall> RecordingPlatform::calls_of(const std::string& op) const {
    std::vector<PlatformCall> out;
    for (const auto& c : calls)
        if (c.op == op) out.push_back(c);
    return out;
}

Point RecordingPlatform::get_cursor_pos() {
    record("get_cursor_pos");
    return cursor;
}

void RecordingPlatform::set_cursor_pos(int x, int y) {
    record("set_cursor_pos", std::to_string(x) + " " + std::to_string(y));
    cursor = {x, y};
}

void RecordingPlatform::mouse_button(PointerButton button, bool down) {
    // The trace keeps the words and numbers it has always printed (the Windows event flags).
    int flag = button == PointerButton::left ? 2 : button == PointerButton::right ? 8 : 32;
    record("mouse_event", std::to_string(down ? flag : flag * 2));
}

KeyState RecordingPlatform::key_state(int vk) {
    record("key_state", std::to_string(vk));
    auto it = key_states.find(vk);
    if (it == key_states.end() || it->second.empty()) return key_idle;
    KeyState v = it->second.front();
    it->second.pop_front();
    return v;
}

bool RecordingPlatform::send_keys(const std::string& text, const KeepTyping& keep_going) {
    record("send_keys", text);
    typed.emplace_back();
    for (size_t at = 0; at < text.size();) {
        const size_t n = typing_chunk ? std::min(typing_chunk, text.size() - at) : text.size();
        typed.back().append(text, at, n);
        at += n;
        if (at < text.size() && keep_going && !keep_going()) return false;
    }
    return true;
}

void RecordingPlatform::block_input(bool block) {
    record("block_input", block ? "1" : "0");
    input_blocked = block;
}

void RecordingPlatform::clipboard_set_text(const std::string& text) {
    record("clipboard_set", text);
    clipboard_history.push_back(text);
}

void RecordingPlatform::make_layered() {
    record("make_layered");
}

void RecordingPlatform::set_alpha(int a) {
    record("set_alpha", std::to_string(a));
    alpha = a;
}

void RecordingPlatform::set_topmost(bool on) {
    record("set_topmost", on ? "1" : "0");
    topmost = on;
}

void RecordingPlatform::process_pending_events() {
    record("process_pending_events");
}

int RecordingPlatform::message_box(const std::string& text, int style) {
    record("message_box", text);
    if (!message_box_answers.empty()) {
        int a = message_box_answers.front();
        message_box_answers.pop_front();
        return a;
    }
    return style == kMbYesNoQuestion ? kIdYes : kIdOk;
}

int RecordingPlatform::ask(const Question& question) {
    record("ask", question.text);
    questions.push_back(question);
    if (!ask_answers.empty()) {
        int a = ask_answers.front();
        ask_answers.pop_front();
        return a;
    }
    return question.default_button;
}

TwipRect RecordingPlatform::window_rect_twips() {
    return window;
}

void RecordingPlatform::lock_workstation() {
    record("lock_workstation");
}
void RecordingPlatform::monitor_off() {
    record("monitor_off");
}
void RecordingPlatform::shutdown() {
    record("shutdown");
}
void RecordingPlatform::reboot() {
    record("reboot");
}
void RecordingPlatform::run_program(const std::string& path) {
    record("run_program", path);
}

void RecordingPlatform::open_with_default_handler(const std::string& target) {
    record("open_with_default_handler", target);
}

void RecordingPlatform::end_program() {
    record("end_program");
    ++ended;
}

std::vector<std::string> RecordingPlatform::drive_roots() {
    return roots;
}

int RecordingPlatform::drive_type(const std::string& root) {
    record("drive_type", root);
    auto it = drive_types.find(root);
    return it == drive_types.end() ? 1 : it->second;
}

void RecordingPlatform::cd_door(const std::string& drive, CdDoor move) {
    record("cd_door", drive + (move == CdDoor::open ? " open" : " close"));
}

Bitmap RecordingPlatform::capture_screen() {
    record("capture_screen");
    return screen;
}

Bitmap RecordingPlatform::capture_region(int x, int y, int w, int h) {
    record("capture_screen");
    return desktop_block(screen, x, y, w, h);
}

bool RecordingPlatform::save_bmp(const Bitmap& image, const std::string& path) {
    record("save_bmp", path);
    return save_bmp_file(image, resolve_path(folder_, path)).ok();
}

int RecordingPlatform::save_jpeg(const Bitmap& image, const std::string& path, int quality) {
    record("save_jpeg", path + " " + std::to_string(quality));
    if (jpeg_status == 0 && write_jpeg_files) {
        save_bmp_file(image, resolve_path(folder_, path));
    }
    return jpeg_status;
}

std::string RecordingPlatform::open_file_dialog(const std::string& filter,
                                                const std::string& preset) {
    record("open_file_dialog", filter + " " + preset);
    if (open_dialog_answers.empty()) return {};
    std::string a = open_dialog_answers.front();
    open_dialog_answers.pop_front();
    return a;
}

std::string RecordingPlatform::save_file_dialog(const std::string& filter,
                                                const std::string& preset) {
    record("save_file_dialog", filter + " " + preset);
    if (save_dialog_answers.empty()) return {};
    std::string a = save_dialog_answers.front();
    save_dialog_answers.pop_front();
    return a;
}

bool RecordingPlatform::file_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(resolve_path(folder_, path), ec);
}

bool RecordingPlatform::read_first_field(const std::string& path, std::string& field) {
    return read_first_field_of_file(resolve_path(folder_, path), field);
}

void RecordingPlatform::seed_random_from_clock() {
    record("seed_random");
}

double RecordingPlatform::random_fraction() {
    if (random_values.empty()) return 0.5;
    double v = random_values.front();
    random_values.pop_front();
    return v;
}

}  // namespace mavorin
