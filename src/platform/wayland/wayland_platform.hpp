// The Wayland device backend for wlroots compositors: virtual pointer and keyboard, screencopy,
// data control; the rest (programs, power, drives) as on X11.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_check.hpp"
#include "platform/desktop_platform.hpp"

namespace mavorin::wayland {

// Connects to $WAYLAND_DISPLAY; nullptr when there is no compositor or it lacks the virtual
// pointer and keyboard. `args` as for the X11 backend.
std::unique_ptr<DeviceServices> make_wayland_devices(const std::vector<std::string>& args);

// Whether the compositor at $WAYLAND_DISPLAY offers virtual pointer and keyboard.
bool compositor_offers_input();

// What works on the compositor at $WAYLAND_DISPLAY.
DesktopCheck check_desktop();

}  // namespace mavorin::wayland
