// The X11 device backend: XTest input, XInput2 key polling and input grabs, XShm capture, logind,
// CD ioctls.
#pragma once

#include <memory>
#include <string>
#include <string_view>
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
// Set by SIGTERM, SIGINT or SIGHUP once catch_termination_signals() ran.
bool termination_requested();

// What needs no X server, shared with the Wayland backend.
// Starts a program detached from us (its own session, never awaited).
// `operation` names it in the failure log ("launch", "shutdown"...).
void spawn_detached(std::string_view operation, const std::vector<std::string>& argv);
// Encodes 24-bit BGR pixels as JPEG; 0 on success, otherwise a nonzero status.
int encode_jpeg(const Bitmap& image, int quality, std::string& out);
// Starts the program a command text names, or opens the document it names, relative to `folder`.
void launch_command_text(const std::string& text, const std::string& folder);
std::vector<std::string> cd_drive_roots();
int cd_drive_type(const std::string& root);
void move_cd_door(const std::string& drive, CdDoor move);

// Asks the X server named by $DISPLAY and the system what this backend can do here. Without
// `ask_system` nothing is started to ask logind, and lock and power are left out.
DesktopCheck check_desktop(bool ask_system = true);

// Keeps a connection to $DISPLAY open while it lives, so that the server does not reset between
// the connections of the start; nullptr when there is no display.
std::shared_ptr<void> hold_display();

}  // namespace mavorin::x11
