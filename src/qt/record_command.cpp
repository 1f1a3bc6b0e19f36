// Recording on the Linux desktop, before and without the toolkit.
#include "qt/record_command.hpp"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "platform/desktop_platform.hpp"
#include "platform/x11/x11_recorder.hpp"
#include "record/record_command.hpp"

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

std::optional<int> record_from_command_line(const std::vector<std::string>& args) {
    if (std::find(args.begin(), args.end(), "--record") == args.end()) return std::nullopt;
    std::string error;
    const auto request = parse_record_args(args, error);
    if (!request) {
        std::cerr << "mavorin: " << error << " (see mavorin --help)\n";
        return 2;
    }
    return record_command(*request, desktop_recorder_factory(), system_user_data_folder(),
                          std::cout, std::cerr);
}

}  // namespace mavorin::qt
