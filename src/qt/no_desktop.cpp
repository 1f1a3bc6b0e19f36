// A window without a desktop backend: files are real, the desktop is out of reach.
#include "qt/no_desktop.hpp"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/image_files.hpp"
#include "platform/log.hpp"
#include "platform/x11/x11_platform.hpp"

namespace mavorin::qt {

NoDesktopDevices::NoDesktopDevices(std::vector<std::string> args) : args_(std::move(args)) {
    seed_random_from_clock();
}

void NoDesktopDevices::refuse(const char* operation) {
    log_failure(operation, "no desktop backend: nothing was carried out");
}

bool NoDesktopDevices::send_keys(const std::string&, const KeepTyping&) {
    refuse("keys");
    return true;
}

void NoDesktopDevices::block_input(bool block) {
    // Freeing input that was never blocked is what closing the window always does.
    if (block) refuse("input block");
}

std::vector<std::string> NoDesktopDevices::drive_roots() {
    // The drives are listed for editing a macro, as on a desktop.
    return x11::cd_drive_roots();
}

int NoDesktopDevices::drive_type(const std::string& root) {
    const int fd = open(root.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 1;
    const bool cd = ioctl(fd, CDROM_GET_CAPABILITY, 0) >= 0;
    close(fd);
    return cd ? kDriveCdrom : 0;
}

Bitmap NoDesktopDevices::capture_screen() {
    refuse("screenshot");
    return {};
}

bool NoDesktopDevices::save_bmp(const Bitmap&, const std::string&) {
    return false;
}

int NoDesktopDevices::save_jpeg(const Bitmap&, const std::string&, int) {
    return 1;
}

bool NoDesktopDevices::file_exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() &&
           std::filesystem::is_regular_file(resolve_path(current_folder(), path), ec);
}

bool NoDesktopDevices::read_first_field(const std::string& path, std::string& field) {
    return read_first_field_of_file(resolve_path(current_folder(), path), field);
}

std::string NoDesktopDevices::current_folder() {
    std::error_code ec;
    std::string p = std::filesystem::current_path(ec).string();
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string NoDesktopDevices::command_line() {
    std::string c;
    for (const auto& a : args_) c += (c.empty() ? "\"" : " \"") + a + "\"";
    return c;
}

void NoDesktopDevices::seed_random_from_clock() {
    random_.seed(
        static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
}

double NoDesktopDevices::random_fraction() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

}  // namespace mavorin::qt
