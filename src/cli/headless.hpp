// A window without a display: the virtual clock, the recording platform, a private temp folder.
#pragma once

#include <memory>
#include <string>

#include "app/frm_mavorin.hpp"
#include "form/event_loop.hpp"
#include "platform/recording/recording_platform.hpp"

namespace mavorin::cli {

class HeadlessWindow {
  public:
    // The platform's current folder is a fresh temporary folder, removed on destruction.
    HeadlessWindow();
    ~HeadlessWindow();
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    form::VirtualClock clock;
    std::string folder;
    std::unique_ptr<RecordingPlatform> platform;
    std::unique_ptr<frm_mavorin> window;
};

// FILE made absolute against the process's current directory.
std::string absolute_path(const std::string& file);
// True when line 1 of FILE starts with ".mvn"; otherwise `why` says what is wrong.
bool is_macro_file(const std::string& file, std::string& why);

}  // namespace mavorin::cli
