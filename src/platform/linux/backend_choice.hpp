// Which desktop backend drives the desktop, chosen at run time from what the session offers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_platform.hpp"

namespace mavorin::desktop {

enum class Backend { none, x11, wayland };

struct BackendFacts {
    std::string requested;         // $MAVORIN_BACKEND
    bool wayland_display = false;  // $WAYLAND_DISPLAY is set
    bool wayland_input = false;    // the compositor offers virtual pointer and keyboard
    bool x_display = false;        // an X display opens
    bool qt_platform_set = false;  // the user chose Qt's platform plugin himself
};

struct BackendChoice {
    Backend backend = Backend::none;
    std::string qt_platform;  // what QT_QPA_PLATFORM becomes; "" leaves it alone
    std::string warning;      // for stderr; "" when all is well
    bool operator==(const BackendChoice&) const = default;
};

BackendChoice choose_backend(const BackendFacts& facts);

// Gathers the facts from the environment and the session and chooses; prints and sets nothing.
BackendChoice choose_this_backend();
// Makes Qt's platform follow the choice (unless the user chose one).
void follow_with_qt(const BackendChoice& choice);
// Opens the chosen backend; nullptr when it does not open.
std::unique_ptr<DeviceServices> open_backend(Backend backend, const std::vector<std::string>& args);

}  // namespace mavorin::desktop
