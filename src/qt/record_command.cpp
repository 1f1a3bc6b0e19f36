// The Linux desktop's recorder: X11, and a plain no on Wayland.
#include "qt/record_command.hpp"

#include <cstdlib>

#include "platform/x11/x11_recorder.hpp"

namespace mavorin::qt {

RecorderFactory desktop_recorder_factory() {
    return [](const RecorderRequest& request, std::string& reason) {
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if (wayland && *wayland) {
            // Through XWayland only the input of X programs would be seen.
            reason = "Wayland does not let a program watch the input of other programs";
            return std::unique_ptr<InputRecorder>();
        }
        return x11::make_x11_recorder(request, reason);
    };
}

}  // namespace mavorin::qt
