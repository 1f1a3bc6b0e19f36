// System actions: program launch, PC commands, the CD door, and finding the CD drives.
#include "engine/system_actions.hpp"

#include <exception>

#include "app/frm_mavorin.hpp"
#include "platform/log.hpp"

namespace mavorin {

void SystemActions::open_program() {
    const int i = w.befehl_aktuell;
    w.befehl_wert1[i] = w.input.replace_code5(without_bars(w.befehl_wert1[i]));
    w.platform.run_program(w.befehl_wert1[i]);
}

void SystemActions::pc_command() {
    DesktopPlatform& p = w.platform;
    const std::string& word = w.befehl_wert1[w.befehl_aktuell];
    if (word == "lockpc") {
        p.lock_workstation();
    } else if (word == "reboot") {
        p.reboot();
        w.message_box("reboot", kMbOk);
    } else if (word == "shutdown") {
        p.shutdown();
    } else if (word == "screenoff") {
        p.monitor_off();
    } else if (word == "end") {
        p.end_program();
        // Only a platform that does not really exit gets here: nothing may run after "end".
        w.halt();
    } else if (word == "input-disable") {
        p.block_input(true);
    } else if (word == "input-enable") {
        p.block_input(false);
    }
}

void SystemActions::cd_drive() {
    if (w.kein_laufwerk) return;
    const int i = w.befehl_aktuell;
    // Anything but "close" opens, as a hand-edited record may hold any word.
    w.platform.cd_door(w.befehl_wert1[i],
                       w.befehl_wert2[i] == "close" ? CdDoor::close : CdDoor::open);
}

void SystemActions::laufwerke_einlesen() {
    w.kein_laufwerk = false;
    int n = 0;
    try {
        for (const std::string& root : w.platform.drive_roots()) {
            if (w.platform.drive_type(root) != kDriveCdrom) continue;
            w.com_8_laufwerk.set_item(n, root);
            if (n == 0) w.com_8_laufwerk.set_text(root);
            ++n;
        }
        w.com_8_move.set_text("Auswerfen");
    } catch (const std::exception& e) {
        log_failure("drive list", e.what());
        n = 0;
    } catch (...) {
        log_failure("drive list", "unknown error");
        n = 0;
    }
    if (n > 0) return;
    w.kein_laufwerk = true;
    w.com_8_laufwerk.set_enabled(false);
    w.com_8_move.set_enabled(false);
}

}  // namespace mavorin
