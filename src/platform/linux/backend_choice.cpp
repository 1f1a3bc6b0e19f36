// The backend choice as a function of the facts alone.
#include "platform/linux/backend_choice.hpp"

namespace mavorin::desktop {

BackendChoice choose_backend(const BackendFacts& f) {
    BackendChoice c;
    std::string want = f.requested;
    if (!want.empty() && want != "x11" && want != "wayland") {
        c.warning =
            "MAVORIN_BACKEND=" + want + " is unknown (x11 or wayland): chosen by the session";
        want.clear();
    }
    const bool wayland_works = f.wayland_display && f.wayland_input;
    if (want == "wayland" || (want.empty() && wayland_works)) {
        if (wayland_works)
            c.backend = Backend::wayland;
        else
            c.warning = "the Wayland compositor offers no virtual pointer and keyboard";
    } else if (f.x_display) {
        c.backend = Backend::x11;
        if (want.empty() && f.wayland_display)
            c.warning =
                "the Wayland compositor offers no virtual pointer and keyboard: only X clients "
                "(XWayland) are reached";
    } else if (want == "x11") {
        c.warning = "no X display opens";
    } else if (f.wayland_display) {
        c.warning = "the Wayland compositor offers no virtual pointer and keyboard";
    }
    // The window follows the backend: under XWayland as an X client, so that opacity and
    // on-top keep working.
    if (!f.qt_platform_set) {
        if (c.backend == Backend::x11) c.qt_platform = "xcb";
        if (c.backend == Backend::wayland) c.qt_platform = "wayland";
    }
    return c;
}

}  // namespace mavorin::desktop
