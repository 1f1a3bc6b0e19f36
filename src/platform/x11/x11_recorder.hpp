// Recording the desktop's input on X11 through XInput 2 raw events.
#pragma once

#include <memory>
#include <string>

#include "platform/input_recorder.hpp"

namespace mavorin::x11 {

// Watches every master device from now on; nullptr with the reason when there is no X display
// or no XInput 2.
std::unique_ptr<InputRecorder> make_x11_recorder(const RecorderRequest& request,
                                                 std::string& reason);

}  // namespace mavorin::x11
