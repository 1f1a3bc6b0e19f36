// What the compositor lets the program do, for --check.
#include <cstdlib>

#include "platform/wayland/wayland_connection.hpp"
#include "platform/wayland/wayland_platform.hpp"

namespace mavorin::wayland {

namespace {

bool desktop_is(const char* name) {
    const char* d = std::getenv("XDG_CURRENT_DESKTOP");
    return d && std::string(d).find(name) != std::string::npos;
}

std::string offered(bool yes, const char* protocol) {
    return std::string(protocol) + (yes ? "" : " not offered");
}

}  // namespace

DesktopCheck check_desktop() {
    DesktopCheck c;
    c.backend = "wayland";
    Connection link;
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!link.open()) {
        c.session =
            std::string("no Wayland compositor at ") + (name ? name : "(WAYLAND_DISPLAY unset)");
        return c;
    }
    c.display_opened = true;
    c.session = std::string("Wayland display ") + name;
    const bool pointer = link.pointers && link.seat;
    const bool keys = link.keyboards && link.seat;
    const bool kde = link.offers("org_kde_kwin_fake_input") || desktop_is("KDE");
    const bool gnome = link.offers("gtk_shell1") || desktop_is("GNOME");
    // Without the wlroots protocols both are named, so the user knows where he stands.
    if (kde || !(pointer && keys))
        c.notes.push_back(
            "KDE Plasma (KWin) is not supported yet: it offers its own fake-input protocol, not "
            "the wlroots virtual pointer and keyboard");
    if (gnome || !(pointer && keys))
        c.notes.push_back(
            "GNOME (Mutter) is not supported yet: it takes input only through libei and the "
            "remote-desktop portal, and libei is not in Debian 12");
    const bool copy = link.screencopy && link.shm;
    const char* not_wayland = "not possible on Wayland";
    c.lines = {
        {Ability::pointer, pointer,
         offered(pointer, "zwlr_virtual_pointer_manager_v1") +
             "; the cursor is read back as last set: clients cannot read it"},
        {Ability::clicks, pointer, offered(pointer, "zwlr_virtual_pointer_manager_v1")},
        {Ability::keys, keys, offered(keys, "zwp_virtual_keyboard_manager_v1")},
        {Ability::foreign_characters, keys,
         keys ? "the program's own keymap types every character"
              : offered(keys, "zwp_virtual_keyboard_manager_v1")},
        {Ability::hot_keys, false, "no global key state on Wayland: bind mavorin --start/--abort"},
        {Ability::clipboard, link.data_control != nullptr,
         offered(link.data_control, "zwlr_data_control_manager_v1")},
        {Ability::screen_capture, copy, offered(copy, "zwlr_screencopy_manager_v1")},
        {Ability::input_block, false, not_wayland},
        {Ability::lock_and_power, true, "logind"},
        {Ability::monitor_off, false, not_wayland},
        {Ability::cd_door, true, "CD-ROM ioctls"},
        {Ability::opacity_on_top, false, not_wayland},
    };
    return c;
}

}  // namespace mavorin::wayland
