// The step scheduler: a 10 ms driver advances the command; a one-shot step timer runs one command.
#include "engine/scheduler.hpp"

#include <cmath>
#include <exception>
#include <functional>

#include "app/commands.hpp"
#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"
#include "platform/log.hpp"

namespace mavorin {

namespace {

// A failing statement is skipped and the step goes on; the log keeps why.
void guarded(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const std::exception& e) {
        log_failure("step", e.what());
    } catch (...) {
        log_failure("step", "unknown error");
    }
}

// Keeps a random bound within 0..60000; a slot already in range keeps its text.
void clamp_wait_bound(std::string& slot) {
    const double v = wert_aus_text(slot);
    if (v < 0)
        slot = "0";
    else if (!(v < 60000))
        slot = "60000";
}

}  // namespace

void Scheduler::Timer_startloop_Timer() {
    frm_mavorin& f = w;
    if (f.pixel_status != 0) {
        f.Timer_start.set_enabled(true);
        return;
    }
    if (f.Timer_start.enabled()) return;
    f.befehl_aktuell += 1;
    if (f.befehl_anzahl >= f.befehl_aktuell) {
        f.Timer_start.set_enabled(true);
        return;
    }
    f.durchlauf += 1;
    if (f.durchlauf > f.wiederholungen) {
        f.platform.block_input(false);
        f.run.start_stop();
        return;
    }
    f.befehl_aktuell = 1;
    f.Timer_start.set_enabled(true);
}

void Scheduler::Timer_start_Timer() {
    frm_mavorin& f = w;
    if (f.pixel_status != 2)
        guarded(
            [&] { f.Timer_start.set_interval(static_cast<long>(round_half_even(f.wartezeit))); });
    guarded([&] { f.records.befehl_aktuellencode(); });
    // Showing the panel must not write the fields back into the record being run: a single
    // run (no driver) would otherwise rebuild it from half-filled fields.
    {
        LoadingScope loading(f);
        guarded([&] { f.panels.codesichtbar(); });
    }
    if (f.chk_0_listbox.value() == 1) guarded([&] { f.command_list.befehlsliste(); });
    guarded([&] { run_current_code(); });
    if (f.end_carried_out) return;  // "end" was carried out: nothing after it runs
    f.lbl_hscaktuell.set_caption(number_text(f.befehl_aktuell));
    f.Timer_start.set_enabled(false);
}

void Scheduler::run_current_code() {
    const CommandRow* row = command_row(w.code_aktuell);
    if (row && row->action) row->action(w);
}

void Scheduler::random_wait() {
    frm_mavorin& f = w;
    const int i = f.befehl_aktuell;
    clamp_wait_bound(f.befehl_wert1[i]);
    const double lower = wert_aus_text(f.befehl_wert1[i]);
    double upper = lower;
    // The short record has no upper bound; its slot may still hold an older record's value.
    if (f.befehl[i].find("maxwait:|") != std::string::npos) {
        clamp_wait_bound(f.befehl_wert2[i]);
        upper = wert_aus_text(f.befehl_wert2[i]);
    }
    double extra;
    if (upper >= lower) {
        f.platform.seed_random_from_clock();
        const double r = f.platform.random_fraction();
        extra = std::floor(r * (upper - lower) + lower);
    } else {
        extra = std::floor(lower);
    }
    f.Timer_start.set_interval(static_cast<long>(round_half_even(extra + f.wartezeit)));
}

}  // namespace mavorin
