// The desktop the window starts on: its devices, or none and why.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin::qt {

struct WindowDesktop {
    std::unique_ptr<DeviceServices> devices;  // never null: without a backend, no-desktop ones
    bool reachable = false;                   // false: the devices reach no desktop
    std::string no_desktop;                   // German: why macros cannot run; "" if they can
    std::string missing_box;                  // German start-up box; "" when nothing is missing
    std::string missing_line;                 // the same for stderr
};

// `args` are the program's arguments after its name.
WindowDesktop open_window_desktop(const std::vector<std::string>& args, bool offscreen);

}  // namespace mavorin::qt
