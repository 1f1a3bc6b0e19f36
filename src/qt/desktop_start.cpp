// Opens the desktop backend for the window and finds out what it lacks.
#include "qt/desktop_start.hpp"

#include <iostream>

#include "platform/linux/backend_choice.hpp"
#include "platform/x11/x11_platform.hpp"
#include "qt/check_command.hpp"
#include "qt/no_desktop.hpp"

namespace mavorin::qt {

WindowDesktop open_window_desktop(const std::vector<std::string>& args, bool offscreen) {
    WindowDesktop d;
    if (offscreen) {
        d.devices = std::make_unique<NoDesktopDevices>(args);
        d.no_desktop = "die Qt-Plattform „offscreen“ zeigt keinen Desktop.";
        return d;
    }
    // X11 or Wayland, as the session offers; Qt follows the choice.
    const desktop::BackendChoice choice = desktop::choose_this_backend();
    desktop::follow_with_qt(choice);
    if (!choice.warning.empty()) std::cerr << "mavorin: " << choice.warning << "\n";
    const auto hold = x11::hold_display();
    // Only what needs no other program: starting one at every window start would be felt.
    const DesktopCheck check = check_this_desktop(false);
    d.missing_box = missing_essentials_box(check);
    d.missing_line = missing_essentials_line(check);
    if (check.display_opened) d.devices = desktop::open_backend(choice.backend, args);
    d.reachable = d.devices != nullptr;
    if (d.reachable) return d;
    d.devices = std::make_unique<NoDesktopDevices>(args);
    // The X backend opens wherever the server has XTEST.
    d.no_desktop = check.backend == "wayland"
                       ? "Der Wayland-Compositor bietet keine virtuelle Maus und Tastatur an "
                         "(wlroots-Protokolle); Mavorin kann dort nichts bedienen."
                   : check.display_opened ? "Dem X-Server fehlt die Erweiterung XTEST, ohne die "
                                            "Mavorin weder Maus noch Tastatur bedienen kann."
                                          : "Mavorin erreicht keinen X-Server für Maus und "
                                            "Tastatur.";
    if (d.missing_line.empty())
        d.missing_line = "mavorin: no desktop backend: " + check.session + "; see mavorin --check";
    return d;
}

}  // namespace mavorin::qt
