// The failure log: one process-wide sink and the rotating file behind it.
#include "platform/log.hpp"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>

namespace mavorin {

namespace {

std::mutex sink_mutex;
std::shared_ptr<const LogSink> current_sink;

}  // namespace

void set_log_sink(LogSink sink) {
    std::lock_guard lock(sink_mutex);
    current_sink = sink ? std::make_shared<const LogSink>(std::move(sink)) : nullptr;
}

void log_failure(std::string_view operation, std::string_view reason) {
    std::shared_ptr<const LogSink> sink;
    {
        std::lock_guard lock(sink_mutex);
        sink = current_sink;
    }
    if (!sink) return;
    // A failing log must not turn a reported failure into a new one.
    try {
        (*sink)(log_line(std::chrono::system_clock::now(), operation, reason));
    } catch (...) {
    }
}

std::string log_line(std::chrono::system_clock::time_point when, std::string_view operation,
                     std::string_view reason) {
    using namespace std::chrono;
    const auto secs = floor<seconds>(when);
    const auto day = floor<days>(secs);
    const year_month_day ymd{day};
    const hh_mm_ss hms{secs - day};
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), int(hms.hours().count()),
                  int(hms.minutes().count()), int(hms.seconds().count()));
    std::string line = stamp;
    line += ' ';
    line += operation;
    line += ": ";
    line += reason;
    // One report, one line, whatever the reason text holds.
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return line;
}

RotatingLogFile::RotatingLogFile(std::filesystem::path file, std::uintmax_t max_bytes)
    : file_(std::move(file)), max_bytes_(max_bytes) {
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
}

void RotatingLogFile::write(const std::string& line) {
    namespace fs = std::filesystem;
    std::lock_guard lock(mutex_);
    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);  // it may have been removed meanwhile
    const std::uintmax_t size = fs::file_size(file_, ec);
    if (!ec && size > 0 && size + line.size() + 1 > max_bytes_) {
        fs::path old = file_;
        old += ".1";
        fs::remove(old, ec);
        fs::rename(file_, old, ec);
    }
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    out << line << '\n';
}

std::filesystem::path xdg_log_path(const char* xdg_state_home, const char* home) {
    std::filesystem::path base;
    // XDG paths are POSIX paths: absolute means a leading slash.
    if (xdg_state_home && xdg_state_home[0] == '/')
        base = xdg_state_home;
    else if (home && *home)
        base = std::filesystem::path(home) / ".local" / "state";
    else
        return {};
    return base / "mavorin" / "mavorin.log";
}

void install_failure_log(const std::filesystem::path& file, bool to_stderr) {
    std::shared_ptr<RotatingLogFile> log;
    if (!file.empty()) log = std::make_shared<RotatingLogFile>(file);
    set_log_sink([log, to_stderr](const std::string& line) {
        if (log) log->write(line);
        if (to_stderr) std::cerr << "mavorin: " << line << '\n';
    });
}

}  // namespace mavorin
