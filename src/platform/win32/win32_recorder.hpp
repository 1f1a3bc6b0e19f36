// Recording the desktop's input on Windows through low-level keyboard and mouse hooks.
#pragma once

#include <memory>
#include <string>

#include "platform/input_recorder.hpp"

namespace mavorin::win32 {

// Hooks the keyboard and the mouse from now on; nullptr with the reason when the system refuses.
std::unique_ptr<InputRecorder> make_win32_recorder(const RecorderRequest& request,
                                                   std::string& reason);

}  // namespace mavorin::win32
