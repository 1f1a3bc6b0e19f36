// Recording on the Linux desktop: which recorder there is, and the --record command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/input_recorder.hpp"

namespace mavorin::qt {

// The X11 recorder; on Wayland, none, with the reason.
RecorderFactory desktop_recorder_factory();

// Runs `--record ...` and gives its exit status; nullopt for any other command line.
std::optional<int> record_from_command_line(const std::vector<std::string>& args);

}  // namespace mavorin::qt
