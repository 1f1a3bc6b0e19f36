// The ".mvn" macro file: Windows-1252 text with CR LF, a header line and one record per line.
#include "document/macro_file.hpp"

#include <algorithm>
#include <future>
#include <system_error>

#include "app/commands.hpp"
#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"
#include "document/codepage.hpp"
#include "document/macro_text.hpp"
#include "platform/file_save.hpp"
#include "platform/image_files.hpp"

namespace mavorin {

MacroFile::Action::Action(MacroFile& f) : f(f) {
    if (f.depth_++ == 0) f.told_.clear();
}

MacroFile::Action::~Action() {
    --f.depth_;
}

void MacroFile::tell(const std::string& text) {
    if (std::find(told_.begin(), told_.end(), text) != told_.end()) return;
    told_.push_back(text);
    w.notice(text);
}

double header_digit(const std::string& kopfzeile, size_t position) {
    // Characters, not UTF-8 bytes: an umlaut before the digits must not shift them.
    const std::string bytes = utf8_to_cp1252(kopfzeile.substr(0, 64));
    return bytes.size() >= position ? wert_aus_text(bytes.substr(position - 1, 1)) : 0;
}

std::string macro_file_bytes(std::span<const std::string> records) {
    std::string bytes = ".mvn 0000 Mavorin " MAVORIN_VERSION " macro\r\n";
    const size_t header = bytes.size();
    size_t size = header;
    for (const std::string& r : records) size += r.size() + 2;
    bytes.reserve(size);
    for (const std::string& r : records) {
        bytes += r;
        bytes += "\r\n";
    }
    // Plain ASCII is already Windows-1252: one check of everything beats one per record.
    if (is_ascii(bytes)) return bytes;
    bytes.resize(header);
    for (const std::string& r : records) {
        bytes += utf8_to_cp1252(r);
        bytes += "\r\n";
    }
    return bytes;
}

namespace {

std::future<std::string> hash_in_background(const MacroText& text) {
    try {
        return std::async(std::launch::async, [&text] { return text.sha256(); });
    } catch (const std::system_error&) {
        // No thread to be had: this one hashes.
        std::promise<std::string> now;
        now.set_value(text.sha256());
        return now.get_future();
    }
}

}  // namespace

bool MacroFile::read_header() {
    std::string line;
    if (!read_first_line(resolve_path(w.platform.current_folder(), w.dateipfad), line))
        return false;
    w.kopfzeile = line;
    w.dateikennung = w.kopfzeile.substr(0, 4);
    return true;
}

void MacroFile::cmd_save_Click() {
    if (wert_aus_text(w.txt_0_wait.text()) < 10) w.txt_0_wait.set_text("10");
    if (wert_aus_text(w.txt_0_loop.text()) < 0) w.txt_0_loop.set_text("0");
    const std::string bytes = macro_file_bytes(
        {w.befehl.begin(), w.befehl.begin() + std::min(w.befehl_anzahl + 1, kSlots)});
    // Taken while the records are still in the cache, before the write passes through it.
    const std::vector<LaunchCommand> launches = launches_in(w, 1, w.befehl_anzahl);
    // A failed save leaves the old file as it was; the reason is kept for the caller.
    last_save = save_file(resolve_path(w.platform.current_folder(), w.dateipfad), bytes,
                          Durability::synced);
    // What the user saves is theirs.
    w.trust.saved(last_save.ok(), bytes, launches);
    w.cmd_load.set_enabled(true);
}

void MacroFile::cmd_save2_Click() {
    std::string name = w.platform.save_file_dialog(kMacroFilter, "");
    if (name.empty()) return;
    w.dateipfad = name;
    cmd_save_Click();
}

void MacroFile::cmd_load_Click() {
    Action action(*this);
    load();
}

LoadResult MacroFile::load() {
    Action action(*this);
    MacroText text;
    const ReadResult read =
        read_macro_file(resolve_path(w.platform.current_folder(), w.dateipfad), text);
    if (read == ReadResult::unreadable) return LoadResult::unreadable;
    w.dateikennung = text.header.substr(0, 4);
    if (read == ReadResult::not_a_macro) {
        w.dateipfad = "mavorin.mvn";
        return LoadResult::not_a_macro;
    }
    // A header without records keeps the macro in memory as it is.
    const size_t records = text.record_count();
    if (records == 0) return LoadResult::no_records;
    // Each record is parsed as it is stored, while it is still in the cache. What launches_in
    // would find is taken from this parse rather than from a second one.
    std::vector<LaunchCommand> launches;
    // Only a macro that launches is looked up in the store of trusted files: from its first
    // launch on, the file is hashed on a second thread while the parse goes on.
    std::future<std::string> hash;
    for (int z = 0; z < static_cast<int>(records); ++z) {
        if (!launches.empty() && !hash.valid()) hash = hash_in_background(text);
        w.befehl[z].assign(text.record(z));
        w.befehl_aktuell = z;
        w.records.befehl_aktuellencode();
        if (z == 0) continue;
        if (w.code_aktuell > w.code_anzahl) {
            // The record was replaced by the default one: ask about that.
            for (LaunchCommand& l : launches_in(w, z, z)) launches.push_back(std::move(l));
        } else if (const CommandRow* row = command_row(w.code_aktuell); row && row->launches) {
            launches.push_back({z, static_cast<int>(w.code_aktuell), w.befehl_wert1[z]});
        }
    }
    if (!launches.empty() && !hash.valid()) hash = hash_in_background(text);
    // The line that ended the macro is stored too, above the count, like a removed command.
    if (text.stop_line) w.befehl[records] = *text.stop_line;
    w.befehl_anzahl = static_cast<int>(records) - 1;
    w.command_list.befehlsliste();
    w.hsc_befehle.set_min(0);
    w.hsc_befehle.set_value(0);
    w.lbl_hscaktuell.set_caption("0");
    w.txt_befehle.set_text(number_text(w.befehl_anzahl));
    w.lbl_hscmax.set_caption(number_text(w.befehl_anzahl));
    w.hsc_befehle.set_max(w.befehl_anzahl);

    {
        // Cleared, not restored: start-up loads inside its own guard, and what it does after the
        // load (window options, the panel) must reach the field handlers as after any load.
        LoadingScope loading(w, LoadingScope::OnExit::clear);
        w.code_aktuell = 0;
        w.befehl_aktuell = 0;
        w.records.befehl_aktuellencode();
        w.com_0_startcode.set_text(w.befehl_wert3[0]);
        w.com_0_abbruchcode.set_text(w.befehl_wert4[0]);
        w.txt_0_loop.set_text(number_text(wert_aus_text(w.befehl_wert2[0])));
        double wait = wert_aus_text(w.befehl_wert1[0]);
        if (wait < 0) wait = 0;
        if (wait > 60000) wait = 60000;
        w.befehl_wert1[0] = number_text(wait);
        w.txt_0_wait.set_text(number_text(wait));
        w.code_aktuell = 0;
        w.records.schreibebefehl();
    }
    w.panels.codesichtbar();
    w.cmd_load.set_enabled(true);
    w.trust.loaded(hash.valid() ? hash.get() : std::string(), launches);
    // Re-saving would drop what was not loaded: say so rather than lose it silently.
    if (text.beyond_limit)
        tell("Die Datei enthält mehr als 32000 Befehle; geladen wurden die ersten 32000.");
    else if (text.too_big)
        tell("Die Datei ist zu groß; geladen wurden die ersten " + number_text(w.befehl_anzahl) +
             " Befehle.");
    return LoadResult::loaded;
}

void MacroFile::cmd_load2_Click() {
    Action action(*this);
    std::string name = w.platform.open_file_dialog(kMacroFilter, "");
    if (name.empty()) return;
    w.dateipfad = name;
    beginn_lesedatei();
    cmd_load_Click();
}

void MacroFile::lst_code_OLEDragDrop(const std::vector<std::string>& files) {
    if (files.size() != 1) return;
    Action action(*this);
    w.dateipfad = files[0];
    beginn_lesedatei();
    cmd_load_Click();
}

void MacroFile::beginn_lesedatei() {
    Action action(*this);
    if (!read_header() || w.dateikennung != ".mvn") return;
    const double mode = header_digit(w.kopfzeile, 6);
    w.dateikennung = number_text(mode);
    if (mode == 1) {
        cmd_load_Click();
    } else if (mode == 2) {
        cmd_load_Click();
        w.run.cmd_start_Click();
    }
    w.startup.form_eigenschaften();
}

bool MacroFile::parameter_lesedatei() {
    Action action(*this);
    if (!read_header() || w.dateikennung != ".mvn") return false;
    const bool loaded = load() == LoadResult::loaded;
    w.run.cmd_start_Click();
    w.startup.form_eigenschaften();
    return loaded;
}

}  // namespace mavorin
