// Gathers the facts for the backend choice and opens the chosen backend.
#include <X11/Xlib.h>

#include <cstdlib>

#include "platform/linux/backend_choice.hpp"
#include "platform/wayland/wayland_platform.hpp"
#include "platform/x11/x11_platform.hpp"

namespace mavorin::desktop {

namespace {

bool set(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

bool x_display_opens() {
    if (!set("DISPLAY")) return false;
    Display* d = XOpenDisplay(nullptr);
    if (d) XCloseDisplay(d);
    return d != nullptr;
}

}  // namespace

BackendChoice choose_this_backend() {
    BackendFacts facts;
    if (set("MAVORIN_BACKEND")) facts.requested = std::getenv("MAVORIN_BACKEND");
    facts.wayland_display = set("WAYLAND_DISPLAY");
    facts.wayland_input = facts.wayland_display && wayland::compositor_offers_input();
    facts.x_display = x_display_opens();
    facts.qt_platform_set = set("QT_QPA_PLATFORM");
    return choose_backend(facts);
}

void follow_with_qt(const BackendChoice& choice) {
    if (!choice.qt_platform.empty()) setenv("QT_QPA_PLATFORM", choice.qt_platform.c_str(), 1);
}

std::unique_ptr<DeviceServices> open_backend(Backend backend,
                                             const std::vector<std::string>& args) {
    if (backend == Backend::wayland) return wayland::make_wayland_devices(args);
    if (backend == Backend::x11) return x11::make_x11_devices(args);
    return nullptr;
}

}  // namespace mavorin::desktop
