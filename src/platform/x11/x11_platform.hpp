// The X11 device backend: XTest input, XInput2 key polling and input grabs, XShm capture, logind,
// CD ioctls.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_check.hpp"
#include "platform/desktop_platform.hpp"

namespace mavorin::x11 {

// Opens the display named by $DISPLAY; nullptr when there is none. `args` are the program's
// arguments after its name (command_line() quotes each as the Windows shell passes a file).
std::unique_ptr<DeviceServices> make_x11_devices(const std::vector<std::string>& args);

// From now on SIGTERM, SIGINT and SIGHUP only stop typing and make the returned descriptor
// readable: the window watches it and ends the program in order. -1 when that cannot be set up.
int catch_termination_signals();

// Asks the X server named by $DISPLAY and the system what this backend can do here. Without
// `ask_system` nothing is started to ask logind, and lock and power are left out.
DesktopCheck check_desktop(bool ask_system = true);

// Keeps a connection to $DISPLAY open while it lives, so that the server does not reset between
// the connections of the start; nullptr when there is no display.
std::shared_ptr<void> hold_display();

}  // namespace mavorin::x11
