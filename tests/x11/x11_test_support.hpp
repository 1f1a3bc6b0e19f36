// Helpers for the tests against a real X server: a target window that logs what it receives,
// shell commands and polling with a deadline.
#pragma once

#include <gtest/gtest.h>
// Xlib's macros (None, Bool) would break gtest's headers, so Xlib comes second.
#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin::x11test {

// Fails the test when there is no X server to talk to; otherwise starts a backend.
class X11Test : public ::testing::Test {
  protected:
    void SetUp() override;
    std::unique_ptr<DeviceServices> dev;
};

// Runs a shell command and returns its standard output without the trailing newline.
std::string shell(const std::string& command);

// Calls `done` every 20 ms until it holds or `seconds` pass; returns its last answer.
bool wait_until(const std::function<bool()>& done, double seconds);

// The mouse buttons held down by synthetic input, as "1 3 ".
std::string buttons_down();

// A window of its own connection in a plain colour, placed exactly (override-redirect) and
// focused. It logs key presses as text: characters as UTF-8, other keys as <KeysymName>, Ctrl
// as "^" and Alt as "%" before the key, and button presses and releases as "P1 " / "R1 ".
class TargetWindow {
  public:
    TargetWindow(int x, int y, int w, int h, unsigned long rgb = 0xFFFFFF);
    ~TargetWindow();
    // Reads events until `action` has returned and nothing came for `quiet_ms`.
    std::string log_while(const std::function<void()>& action, int quiet_ms = 300);

  private:
    std::string describe(XEvent& ev);
    Display* dpy_ = nullptr;
};

}  // namespace mavorin::x11test
