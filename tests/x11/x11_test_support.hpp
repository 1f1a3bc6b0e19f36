// Helpers for the tests against a real X server: a target window that logs what it receives,
// shell commands, polling with a deadline and temporary folders.
#pragma once

#include <gtest/gtest.h>
// Xlib's macros (None, Bool) would break gtest's headers, so Xlib comes second.
#include <X11/Xlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin::x11test {

// Fails the test (and stops it) when there is no X server to talk to.
#define REQUIRE_DISPLAY()                                                  \
    do {                                                                   \
        if (!::mavorin::x11test::display_available())                      \
            GTEST_FAIL() << "these tests need DISPLAY set to an X server"; \
    } while (0)

bool display_available();
std::unique_ptr<DeviceServices> make_devices(const std::vector<std::string>& args = {});

// Runs a shell command and returns its standard output without the trailing newline.
std::string shell(const std::string& command);

// Calls `done` every 20 ms until it holds or `seconds` pass; returns its last answer.
bool wait_until(const std::function<bool()>& done, double seconds);

// "x y" of the pointer as xdotool reads it.
std::string xdotool_pointer();

// A window of its own connection, placed exactly (override-redirect) and focused. It logs
// key presses as text: characters as UTF-8, other keys as <KeysymName>, Ctrl as "^" and Alt
// as "%" before the key, and button presses and releases as "P1 " / "R1 ".
class TargetWindow {
  public:
    TargetWindow(int x, int y, int w, int h, unsigned long rgb = 0xFFFFFF);
    ~TargetWindow();
    // Reads events until `action` has returned and nothing came for `quiet_ms`.
    std::string log_while(const std::function<void()>& action, int quiet_ms = 300);
    Display* display() const { return dpy_; }
    Window window() const { return win_; }

  private:
    std::string describe(XEvent& ev);
    Display* dpy_ = nullptr;
    Window win_ = 0;
};

// Plain coloured windows (override-redirect) to give the screen a known picture.
class ColourPatch {
  public:
    ColourPatch(int x, int y, int w, int h, unsigned long rgb);
    ~ColourPatch();

  private:
    Display* dpy_ = nullptr;
};

// A fresh folder that is also the current folder while the object lives.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace mavorin::x11test
