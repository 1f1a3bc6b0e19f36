// Recording on the Linux desktop: which recorder there is.
#pragma once

#include "platform/input_recorder.hpp"

namespace mavorin::qt {

// The X11 recorder; on Wayland, none, with the reason.
RecorderFactory desktop_recorder_factory();

}  // namespace mavorin::qt
