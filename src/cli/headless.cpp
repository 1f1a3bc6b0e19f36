// The headless window behind --list and --dry-run.
#include "cli/headless.hpp"

#include <filesystem>
#include <random>
#include <vector>

#include "document/macro_text.hpp"

namespace mavorin::cli {

HeadlessWindow::HeadlessWindow() {
    namespace fs = std::filesystem;
    std::random_device rd;
    std::error_code ec;
    for (int attempt = 0; attempt < 20; ++attempt) {
        fs::path p = fs::temp_directory_path(ec) /
                     ("mavorin-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        if (fs::create_directory(p, ec)) {
            folder = p.string();
            break;
        }
    }
    platform = std::make_unique<RecordingPlatform>(clock, folder);
    window = std::make_unique<frm_mavorin>(*platform, clock);
    window->headless = true;
}

HeadlessWindow::~HeadlessWindow() {
    window.reset();
    std::error_code ec;
    if (!folder.empty()) std::filesystem::remove_all(folder, ec);
}

std::string absolute_path(const std::string& file) {
    std::error_code ec;
    auto p = std::filesystem::absolute(file, ec);
    return ec ? file : p.lexically_normal().string();
}

bool is_macro_file(const std::string& file, std::string& why) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        why = "no such file";
        return false;
    }
    if (fs::is_directory(file, ec)) {
        why = "is a folder, not a macro file";
        return false;
    }
    std::string line;
    if (!read_first_line(file, line)) {
        why = "cannot be read";
        return false;
    }
    if (line.compare(0, 4, ".mvn") != 0) {
        why = "is not a macro file (its first line does not start with \".mvn\")";
        return false;
    }
    return true;
}

}  // namespace mavorin::cli
