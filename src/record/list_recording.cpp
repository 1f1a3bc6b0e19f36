// Recording into the list: the poll timer stands in for a blocking loop, so the window lives on.
#include "record/list_recording.hpp"

#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"
#include "record/recording.hpp"

namespace mavorin {

void ListRecording::mnurecord_Click() {
    if (recorder_ || w.running()) return;
    std::string reason = "dieses Programm hat keine Aufnahme";
    const int stop = static_cast<int>(wert_aus_text(w.abbruchcode));
    if (w.recorder_factory) recorder_ = w.recorder_factory({stop, false}, reason);
    if (!recorder_) {
        w.notice("Aufnahme ist hier nicht möglich: " + reason);
        return;
    }
    seen_.clear();
    // The start key is input like any other while recording.
    w.Timer_befehlstart.set_enabled(false);
    if (w.on_minimize) w.on_minimize(true);
    w.Timer_aufnahme.set_enabled(true);
}

void ListRecording::Timer_aufnahme_Timer() {
    if (!recorder_ || !recorder_->take(seen_)) return;
    w.Timer_aufnahme.set_enabled(false);
    recorder_.reset();
    RecordOptions o;
    o.stop = w.abbruchname;
    const Recording r = convert_recording(seen_, o);
    insert(r.records);
    if (w.on_minimize) w.on_minimize(false);
    w.Timer_befehlstart.set_enabled(true);
    std::string told;
    if (!r.left_out.empty())
        told = "Nicht aufgenommen, ein Befehl kann sie nicht halten: " + r.left_out;
    if (r.drags > 0)
        told += (told.empty() ? "" : "\n") + std::to_string(r.drags) +
                " Ziehen mit gedrückter Taste als Klick an der Startposition aufgenommen";
    if (!told.empty()) w.notice(told);
}

void ListRecording::insert(const std::vector<std::string>& records) {
    const int n = static_cast<int>(records.size());
    if (n == 0) return;
    if (w.befehl_anzahl + n > w.liste_max) {
        w.notice("Die Aufnahme hat zu viele Befehle für die Liste; nichts wurde eingefügt.");
        return;
    }
    LoadingScope loading(w);
    const int p = w.befehl_aktuell;
    const int old_count = w.befehl_anzahl;
    w.command_list.set_count(old_count + n);
    for (int i = old_count; i > p; --i) w.befehl[i + n] = std::move(w.befehl[i]);
    for (int k = 0; k < n; ++k) w.befehl[p + 1 + k] = records[k];
    w.command_list.befehlsliste();
}

}  // namespace mavorin
