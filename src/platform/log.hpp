// A trace of failed desktop operations. The core and the backends report; the window's start
// installs where the lines go. Without a sink (the command-line modes) nothing is written.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace mavorin {

using LogSink = std::function<void(const std::string& line)>;

// Replaces the sink; an empty one drops every report.
void set_log_sink(LogSink sink);
// "operation" names what failed ("launch", "shutdown", "write /x/y.bmp"), "reason" why.
void log_failure(std::string_view operation, std::string_view reason);

// "2026-12-06T05:52:38Z launch: xyz: no such program" (UTC, no line end).
std::string log_line(std::chrono::system_clock::time_point when, std::string_view operation,
                     std::string_view reason);

// Appends lines to a file; past max_bytes the file becomes FILE.1 (an older FILE.1 goes) and a
// new one starts. The folder is made at once, the file with the first line.
class RotatingLogFile {
  public:
    explicit RotatingLogFile(std::filesystem::path file, std::uintmax_t max_bytes = 256 * 1024);
    void write(const std::string& line);

  private:
    std::filesystem::path file_;
    std::uintmax_t max_bytes_;
    std::mutex mutex_;
};

// $XDG_STATE_HOME/mavorin/mavorin.log, else HOME/.local/state/mavorin/mavorin.log; empty when
// neither is set (or the first is not absolute, which the XDG rules ignore).
std::filesystem::path xdg_log_path(const char* xdg_state_home, const char* home);

// The window's sink: every line into `file` (none if empty) and, if `to_stderr`, on stderr.
void install_failure_log(const std::filesystem::path& file, bool to_stderr);

}  // namespace mavorin
