// The run-time choice between the X11 and the Wayland backend, and the Qt platform that follows.
#include "platform/linux/backend_choice.hpp"

#include <gtest/gtest.h>

namespace mavorin::desktop {
namespace {

TEST(BackendChoice, FollowsTheSessionUnlessOverridden) {
    struct Row {
        const char* requested;
        bool wayland_display, wayland_input, x_display, qt_set;
        Backend backend;
        const char* qt;
        bool warns;
    };
    const Row rows[] = {
        {"", true, true, true, false, Backend::wayland, "wayland", false},
        {"", false, false, true, false, Backend::x11, "xcb", false},
        // XWayland under a compositor without the protocols: X clients only, said aloud.
        {"", true, false, true, false, Backend::x11, "xcb", true},
        {"", true, false, false, false, Backend::none, "", true},
        {"", false, false, false, false, Backend::none, "", false},
        {"x11", true, true, true, false, Backend::x11, "xcb", false},
        {"x11", true, true, false, false, Backend::none, "", true},
        {"wayland", true, false, true, false, Backend::none, "", true},
        {"wayland", true, true, true, true, Backend::wayland, "", false},
        {"mir", true, true, true, false, Backend::wayland, "wayland", true},
    };
    for (const Row& r : rows) {
        const BackendChoice c = choose_backend(
            {r.requested, r.wayland_display, r.wayland_input, r.x_display, r.qt_set});
        const std::string where = std::string(r.requested) + " " +
                                  std::to_string(r.wayland_display) +
                                  std::to_string(r.wayland_input) + std::to_string(r.x_display);
        EXPECT_EQ(c.backend, r.backend) << where;
        EXPECT_EQ(c.qt_platform, r.qt) << where;
        EXPECT_EQ(!c.warning.empty(), r.warns) << where << ": " << c.warning;
    }
}

}  // namespace
}  // namespace mavorin::desktop
