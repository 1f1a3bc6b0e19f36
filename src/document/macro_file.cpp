// The ".mvn" macro file: Windows-1252 text with CR LF, a header line and one record per line.
#include "document/macro_file.hpp"

#include <filesystem>
#include <fstream>

#include "app/frm_mavorin.hpp"
#include "app/loading_scope.hpp"
#include "document/codepage.hpp"
#include "platform/file_save.hpp"
#include "platform/image_files.hpp"

namespace mavorin {

namespace {

// The header readers look at the first characters only; a file without line breaks (a disk
// image, say) must not be read whole for that.
constexpr size_t kHeaderBytes = 1u << 20;

bool is_regular(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(utf8_path(path), ec);
}

}  // namespace

bool read_lines(const std::string& path, std::vector<std::string>& lines, size_t max_lines,
                size_t max_bytes) {
    lines.clear();
    if (!is_regular(path)) return false;
    std::ifstream in(utf8_path(path), std::ios::binary);
    if (!in) return false;
    std::string line;
    bool pending = false;  // a line has started
    size_t total = 0;
    char buf[65536];
    bool last_cr = false;
    while (lines.size() < max_lines && total < max_bytes) {
        in.read(buf, sizeof buf);
        std::streamsize got = in.gcount();
        if (got <= 0) break;
        total += static_cast<size_t>(got);
        for (std::streamsize k = 0; k < got && lines.size() < max_lines; ++k) {
            char c = buf[k];
            if (c == '\n' && last_cr) {  // the LF of a CR LF pair
                last_cr = false;
                continue;
            }
            last_cr = c == '\r';
            if (c == '\r' || c == '\n') {
                lines.push_back(cp1252_to_utf8(line));
                line.clear();
                pending = false;
            } else {
                line.push_back(c);
                pending = true;
            }
        }
    }
    if (pending && lines.size() < max_lines) lines.push_back(cp1252_to_utf8(line));
    return true;
}

bool MacroFile::read_header() {
    std::vector<std::string> lines;
    std::string path = resolve_path(w.platform.current_folder(), w.dateipfad);
    if (!read_lines(path, lines, 1, kHeaderBytes) || lines.empty()) return false;
    w.kopfzeile = lines[0];
    w.dateikennung = w.kopfzeile.substr(0, 4);
    return true;
}

void MacroFile::cmd_save_Click() {
    if (wert_aus_text(w.txt_0_wait.text()) < 10) w.txt_0_wait.set_text("10");
    if (wert_aus_text(w.txt_0_loop.text()) < 0) w.txt_0_loop.set_text("0");
    std::string bytes = ".mvn 0000 Mavorin " MAVORIN_VERSION " macro\r\n";
    for (int i = 0; i <= w.befehl_anzahl && i < kSlots; ++i)
        bytes += utf8_to_cp1252(w.befehl[i]) + "\r\n";
    // A failed save leaves the old file as it was; the reason is kept for the caller.
    last_save = save_file(resolve_path(w.platform.current_folder(), w.dateipfad), bytes,
                          Durability::synced);
    w.cmd_load.set_enabled(true);
}

void MacroFile::cmd_save2_Click() {
    std::string name = w.platform.save_file_dialog(kMacroFilter, "");
    if (name.empty()) return;
    w.dateipfad = name;
    cmd_save_Click();
}

void MacroFile::cmd_load_Click() {
    load();
}

bool MacroFile::load() {
    std::vector<std::string> lines;
    const std::string path = resolve_path(w.platform.current_folder(), w.dateipfad);
    // The header first, so that a file of another kind is not read whole.
    if (!read_lines(path, lines, 1, kHeaderBytes) || lines.empty()) return false;
    w.dateikennung = lines[0].substr(0, 4);
    if (w.dateikennung != ".mvn") {
        w.dateipfad = "mavorin.mvn";
        return false;
    }
    if (!read_lines(path, lines, 1 + 32001) || lines.empty()) return false;
    // Record lines end at the first line that is not a record.
    size_t records = 0;
    while (records + 1 < lines.size() && lines[records + 1].compare(0, 4, "code") == 0) ++records;
    // A header without records keeps the macro in memory as it is.
    if (records == 0) return false;
    for (size_t z = 0; z < records; ++z) w.befehl[z] = lines[z + 1];
    // The line that ended the macro is stored too, above the count, like a removed command.
    if (records + 1 < lines.size() && records < static_cast<size_t>(kSlots - 1))
        w.befehl[records] = lines[records + 1];
    w.befehl_anzahl = static_cast<int>(records) - 1;

    for (int z = 0; z <= w.befehl_anzahl; ++z) {
        w.befehl_aktuell = z;
        w.records.befehl_aktuellencode();
    }
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
    return true;
}

void MacroFile::cmd_load2_Click() {
    std::string name = w.platform.open_file_dialog(kMacroFilter, "");
    if (name.empty()) return;
    w.dateipfad = name;
    beginn_lesedatei();
    cmd_load_Click();
}

void MacroFile::lst_code_OLEDragDrop(const std::vector<std::string>& files) {
    if (files.size() != 1) return;
    w.dateipfad = files[0];
    beginn_lesedatei();
    cmd_load_Click();
}

void MacroFile::beginn_lesedatei() {
    if (!read_header() || w.dateikennung != ".mvn") return;
    const double mode = wert_aus_text(w.kopfzeile.size() > 5 ? w.kopfzeile.substr(5, 1) : "");
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
    if (!read_header() || w.dateikennung != ".mvn") return false;
    const bool loaded = load();
    w.run.cmd_start_Click();
    w.startup.form_eigenschaften();
    return loaded;
}

}  // namespace mavorin
